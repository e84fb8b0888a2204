#include "DialogPath.h"

#include "CodePages.h"

#include <gtest/gtest.h>

namespace {

void ExpectSplitIn(const LeadByteRule& codePage, const std::string& path, const std::string& folder,
                   const std::string& name) {
    const DialogPath split = SplitPathForDialog(path, codePage);
    EXPECT_EQ(split.folder, folder) << path;
    EXPECT_EQ(split.fileName, name) << path;
}

// Paths of one-byte characters split the same in every code page.
void ExpectSplit(const std::string& path, const std::string& folder, const std::string& name) {
    ExpectSplitIn(kSingleByte, path, folder, name);
    ExpectSplitIn(kShiftJis, path, folder, name);
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

// Shift-JIS bytes as in CodePages.h; on a single-byte code page the 0x5C after 0x83 is a real
// backslash.
TEST(SplitPathForDialog, only_a_backslash_of_its_own_splits_the_path) {
    // c:\out\ソフト
    const std::string software = "c:\\out\\\x83\x5C\x83\x74\x83\x67";
    ExpectSplitIn(kShiftJis, software, "c:\\out", "\x83\x5C\x83\x74\x83\x67");
    ExpectSplitIn(kSingleByte, software, "c:\\out\\\x83", "\x83\x74\x83\x67");
    // c:\out\ソ : the path's last byte is 0x5C, its last character "ソ".
    ExpectSplitIn(kShiftJis, "c:\\out\\\x83\x5C", "c:\\out", "\x83\x5C");
    ExpectSplitIn(kSingleByte, "c:\\out\\\x83\x5C", "c:\\out\\\x83\x5C", "");
    // ソフト alone holds no backslash of its own.
    ExpectSplitIn(kShiftJis, "\x83\x5C\x83\x74\x83\x67", "\x83\x5C\x83\x74\x83\x67", "");
    ExpectSplitIn(kSingleByte, "\x83\x5C\x83\x74\x83\x67", "\x83", "\x83\x74\x83\x67");
}

TEST(SplitPathForDialog, a_real_backslash_after_a_two_byte_character_splits_the_path) {
    // c:\ソ\Doc and c:\ソ\ .
    ExpectSplit("c:\\\x83\x5C\\Doc", "c:\\\x83\x5C", "Doc");
    ExpectSplit("c:\\\x83\x5C\\", "c:\\\x83\x5C\\", "");
}

TEST(SplitPathForDialog, a_lone_lead_byte_at_the_end_is_the_file_name) {
    ExpectSplit("c:\\out\\\x83", "c:\\out", "\x83");
}
