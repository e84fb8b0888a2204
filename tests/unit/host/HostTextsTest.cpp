#include "HostTexts.h"

#include "FileErrorCause.h"

#include <gtest/gtest.h>

TEST(RenameErrorText, names_the_cause_after_the_prefix) {
    EXPECT_EQ(RenameErrorText(filecause::kUnspecified),
              "The file could not be renamed: An unspecified error occurred.");
    EXPECT_EQ(RenameErrorText(filecause::kFileNotFound),
              "The file could not be renamed: File not found");
    EXPECT_EQ(RenameErrorText(filecause::kHardwareError),
              "The file could not be renamed: There was a hardware error.");
    EXPECT_EQ(RenameErrorText(filecause::kDiskFull),
              "The file could not be renamed: The disk is full");
}

TEST(RenameErrorText, every_other_cause_is_a_plain_error) {
    for (int cause : {4, 6, 7, 8, 9, 11, 12, 14, 15, 99}) {
        EXPECT_EQ(RenameErrorText(cause), "The file could not be renamed: An error occurred.")
            << cause;
    }
}

TEST(OverwriteQuestionText, holds_the_whole_target_path) {
    EXPECT_EQ(OverwriteQuestionText("c:\\Out\\Doc.tif"),
              "A file named\nc:\\Out\\Doc.tif\ndoes already exist.\nDo you wish to overwrite "
              "it?\n(In case of 'No' you may choose a different name)");
    const std::string longTarget = "c:\\" + std::string(600, 'x') + "%s%d.tif";
    EXPECT_NE(OverwriteQuestionText(longTarget).find("\n" + longTarget + "\n"), std::string::npos);
}

TEST(PropertiesPathTooLongText, holds_the_whole_path) {
    const std::string path = std::string(300, 'd') + "\\VlExProp.exe";
    EXPECT_EQ(PropertiesPathTooLongText(path),
              "The properties program could not be started because its path is too long:\n" + path);
}
