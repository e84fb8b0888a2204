#include "FolderPath.h"

#include <gtest/gtest.h>

TEST(JoinFolderAndName, puts_one_backslash_between) {
    EXPECT_EQ(JoinFolderAndName(std::string("C:\\WINDOWS"), "Vellora.ini"),
              "C:\\WINDOWS\\Vellora.ini");
}

TEST(JoinFolderAndName, unknown_or_empty_folder_gives_no_path) {
    EXPECT_EQ(JoinFolderAndName(std::nullopt, "Vellora.ini"), std::nullopt);
    EXPECT_EQ(JoinFolderAndName(std::string(), "Vellora.ini"), std::nullopt);
}

TEST(JoinFolderAndName, path_must_fit_259_characters) {
    const std::string name = "VelloraH.exe";
    const std::string fits(259 - 1 - name.size(), 'd');
    EXPECT_EQ(JoinFolderAndName(fits, name), fits + "\\" + name);
    EXPECT_EQ(JoinFolderAndName(fits + "d", name), std::nullopt);
}

TEST(FitPath, accepts_up_to_259_characters) {
    EXPECT_EQ(FitPath(std::string(259, 'p')), std::string(259, 'p'));
    EXPECT_EQ(FitPath(std::string(260, 'p')), std::nullopt);
    EXPECT_EQ(FitPath(""), "");
}
