#include "OutputRoot.h"

#include <gtest/gtest.h>

namespace {

struct Checked {
    int valid;
    std::string root;
};

Checked Check(std::string root) {
    const int valid = ValidateOutputRoot(root);
    return {valid, root};
}

} // namespace

TEST(ValidateOutputRoot, usable_roots_stay_as_they_are) {
    for (const char* root : {"c:\\Docs\\Out", "c:\\Out\\", "\\\\server\\share\\out", "Out",
                             "c:", "d:\\a b\\c%2", "c:\\100%\\", "\\"}) {
        const Checked checked = Check(root);
        EXPECT_EQ(checked.valid, 1) << root;
        EXPECT_EQ(checked.root, root);
    }
}

TEST(ValidateOutputRoot, empty_root_is_not_valid_and_stays_empty) {
    const Checked checked = Check("");
    EXPECT_EQ(checked.valid, 0);
    EXPECT_EQ(checked.root, "");
}

TEST(ValidateOutputRoot, every_forbidden_character_brings_the_fallback_root) {
    for (const char* root : {"c:\\a/b", "c:\\a*b", "c:\\a?b", "c:\\a\"b", "c:\\a<b", "c:\\a>b",
                             "c:\\a|b", "/", "|c:\\Out\\", "c:\\Out\\*"}) {
        const Checked checked = Check(root);
        EXPECT_EQ(checked.valid, 0) << root;
        EXPECT_EQ(checked.root, "c:\\VelloraDoc") << root;
    }
}

TEST(ValidateOutputRoot, a_colon_is_allowed_only_as_the_drive_colon_in_second_place) {
    EXPECT_EQ(Check("c:\\Out").valid, 1);
    for (const char* root : {"c:\\a:b", "ab:c", ":c\\Out", "c::", "\\\\srv\\a:b", "c:\\Out:"}) {
        const Checked checked = Check(root);
        EXPECT_EQ(checked.valid, 0) << root;
        EXPECT_EQ(checked.root, "c:\\VelloraDoc") << root;
    }
}

TEST(ValidateOutputRoot, percent_20_becomes_a_space_in_a_valid_root) {
    EXPECT_EQ(Check("c:\\My%20Files\\").root, "c:\\My Files\\");
    EXPECT_EQ(Check("%20%20a%20").root, "  a ");
    EXPECT_EQ(Check("c:\\a%2520%20").root, "c:\\a%2520 ");
    EXPECT_EQ(Check("c:\\a%%2020").root, "c:\\a% 20");
    EXPECT_EQ(Check("c:\\a%20").valid, 1);
}

TEST(ValidateOutputRoot, percent_20_in_a_rejected_root_is_not_decoded) {
    const Checked checked = Check("c:\\My%20Files\\a|b");
    EXPECT_EQ(checked.valid, 0);
    EXPECT_EQ(checked.root, "c:\\VelloraDoc");
}

TEST(ValidateOutputRoot, the_longest_root_an_atom_carries_is_checked_whole) {
    const std::string longRoot = "c:\\" + std::string(250, 'a') + "|";
    EXPECT_EQ(Check(longRoot).root, "c:\\VelloraDoc");
    const std::string spaced = "c:\\" + std::string(248, 'a') + "%20";
    EXPECT_EQ(Check(spaced).root, "c:\\" + std::string(248, 'a') + " ");
}
