#include "DialogPath.h"

#include <gtest/gtest.h>

namespace {

void ExpectSplit(const std::string& path, const std::string& folder, const std::string& name) {
    const DialogPath split = SplitPathForDialog(path);
    EXPECT_EQ(split.folder, folder) << path;
    EXPECT_EQ(split.fileName, name) << path;
}

} // namespace

TEST(SplitPathForDialog, the_text_after_the_last_backslash_is_the_file_name) {
    ExpectSplit("c:\\VelloraDoc", "c:", "VelloraDoc");
    ExpectSplit("c:\\Out\\Report", "c:\\Out", "Report");
    ExpectSplit("\\\\server\\share\\out", "\\\\server\\share", "out");
    ExpectSplit("\\Report", "", "Report");
    ExpectSplit("c:\\My Files\\a.b.tif", "c:\\My Files", "a.b.tif");
}

TEST(SplitPathForDialog, a_path_ending_in_a_backslash_is_the_folder_alone) {
    ExpectSplit("c:\\Out\\", "c:\\Out\\", "");
    ExpectSplit("\\", "\\", "");
    ExpectSplit("c:\\Out\\\\", "c:\\Out\\\\", "");
}

TEST(SplitPathForDialog, a_path_without_backslash_is_the_folder_alone) {
    ExpectSplit("Report", "Report", "");
    ExpectSplit("c:", "c:", "");
    ExpectSplit("", "", "");
}

TEST(SplitPathForDialog, nothing_is_cut_from_a_long_path) {
    const std::string folder = "c:\\" + std::string(240, 'f');
    const std::string name(18, 'n');
    ExpectSplit(folder + "\\" + name, folder, name);
}
