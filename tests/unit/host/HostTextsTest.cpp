#include "HostTexts.h"

#include "FileErrorCause.h"

#include <gtest/gtest.h>

TEST(RenameErrorText, causes_without_a_text_of_their_own_are_a_plain_error) {
    for (int cause : {0, 3, 5, 15, 99, -1}) {
        EXPECT_EQ(RenameErrorText(cause), "The file could not be renamed: An error occurred.")
            << cause;
    }
}

TEST(OverwriteQuestionText, holds_the_whole_target_path_taken_literally) {
    const std::string longTarget = "c:\\" + std::string(600, 'x') + "%s%d.tif";
    EXPECT_EQ(OverwriteQuestionText(longTarget),
              "A file named\n" + longTarget +
                  "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may "
                  "choose a different name)");
}
