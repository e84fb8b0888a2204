#include "OutputRoot.h"

#include "CodePages.h"

#include <gtest/gtest.h>

namespace {

struct Checked {
    int valid;
    std::string root;
};

Checked Check(std::string root, const LeadByteRule& codePage = kSingleByte) {
    const int valid = ValidateOutputRoot(root, codePage);
    return {valid, root};
}

// Texts of one-byte characters read the same in every code page.
void ExpectInEveryCodePage(const std::string& root, const Checked& expected) {
    for (const LeadByteRule* codePage : {static_cast<const LeadByteRule*>(&kSingleByte),
                                         static_cast<const LeadByteRule*>(&kShiftJis)}) {
        const Checked checked = Check(root, *codePage);
        EXPECT_EQ(checked.valid, expected.valid) << root;
        EXPECT_EQ(checked.root, expected.root) << root;
    }
}

const Checked kFallback{0, "c:\\VelloraDoc"};

} // namespace

TEST(ValidateOutputRoot, usable_roots_stay_as_they_are) {
    for (const char* root : {"c:\\Docs\\Out", "c:\\Out\\", "\\\\server\\share\\out", "Out",
                             "c:", "d:\\a b\\c%2", "c:\\100%\\", "\\"}) {
        ExpectInEveryCodePage(root, {1, root});
    }
}

TEST(ValidateOutputRoot, empty_root_is_not_valid_and_stays_empty) {
    ExpectInEveryCodePage("", {0, ""});
}

TEST(ValidateOutputRoot, every_forbidden_character_brings_the_fallback_root) {
    for (const char* root : {"c:\\a/b", "c:\\a*b", "c:\\a?b", "c:\\a\"b", "c:\\a<b", "c:\\a>b",
                             "c:\\a|b", "/", "|c:\\Out\\", "c:\\Out\\*", "c|", "c*\\Out"}) {
        ExpectInEveryCodePage(root, kFallback);
    }
}

TEST(ValidateOutputRoot, a_colon_is_allowed_only_as_the_drive_colon_in_second_place) {
    ExpectInEveryCodePage("c:\\Out", {1, "c:\\Out"});
    for (const char* root :
         {"c:\\a:b", "ab:c", ":c\\Out", "c::", "\\\\srv\\a:b", "c:\\Out:", "::", "::\\Out"}) {
        ExpectInEveryCodePage(root, kFallback);
    }
}

TEST(ValidateOutputRoot, percent_20_becomes_a_space_in_a_valid_root) {
    ExpectInEveryCodePage("c:\\My%20Files\\", {1, "c:\\My Files\\"});
    ExpectInEveryCodePage("%20%20a%20", {1, "  a "});
    ExpectInEveryCodePage("c:\\a%2520%20", {1, "c:\\a%2520 "});
    ExpectInEveryCodePage("c:\\a%%2020", {1, "c:\\a% 20"});
}

TEST(ValidateOutputRoot, percent_20_in_a_rejected_root_is_not_decoded) {
    ExpectInEveryCodePage("c:\\My%20Files\\a|b", kFallback);
}

TEST(ValidateOutputRoot, the_longest_root_an_atom_carries_is_checked_whole) {
    const std::string longRoot = "c:\\" + std::string(250, 'a') + "|";
    ExpectInEveryCodePage(longRoot, kFallback);
    const std::string spaced = "c:\\" + std::string(248, 'a') + "%20";
    ExpectInEveryCodePage(spaced, {1, "c:\\" + std::string(248, 'a') + " "});
}

// Shift-JIS bytes as in CodePages.h. On a single-byte code page the same bytes are other
// characters: 0x83 is one, and the 0x5C or 0x7C after it is a real backslash or bar.
TEST(ValidateOutputRoot, reads_the_root_by_the_characters_of_its_code_page) {
    const struct {
        const char* root;
        Checked shiftJis;
        Checked singleByte;
    } rows[] = {
        // c:\out\レポート\ : the second byte of "ポ" is 0x7C.
        {"c:\\out\\\x83\x8C\x83\x7C\x81\x5B\x83\x67\\",
         {1, "c:\\out\\\x83\x8C\x83\x7C\x81\x5B\x83\x67\\"},
         kFallback},
        // c:\out\ソフト : the second byte of "ソ" is 0x5C.
        {"c:\\out\\\x83\x5C\x83\x74\x83\x67",
         {1, "c:\\out\\\x83\x5C\x83\x74\x83\x67"},
         {1, "c:\\out\\\x83\x5C\x83\x74\x83\x67"}},
        // c:\out\ソ| : a real bar right after a two-byte character.
        {"c:\\out\\\x83\x5C|", kFallback, kFallback},
        // c:\out\ソ\ : a real backslash right after a two-byte character.
        {"c:\\out\\\x83\x5C\\", {1, "c:\\out\\\x83\x5C\\"}, {1, "c:\\out\\\x83\x5C\\"}},
        // A lone lead byte at the end is one character.
        {"c:\\out\\\x83", {1, "c:\\out\\\x83"}, {1, "c:\\out\\\x83"}},
        // 0x83 0x3A is one character by the system's rule: its 0x3A is no colon.
        {"c:\\out\\\x83:", {1, "c:\\out\\\x83:"}, kFallback},
        // ソ: — a colon after a two-byte first character names no drive.
        {"\x83\x5C:\\out", kFallback, kFallback},
        // c:\ソ%20フト
        {"c:\\\x83\x5C%20\x83\x74\x83\x67",
         {1, "c:\\\x83\x5C \x83\x74\x83\x67"},
         {1, "c:\\\x83\x5C \x83\x74\x83\x67"}},
        // 0x83 followed by "%20": the "%" is the lead byte's second byte.
        {"c:\\a\x83%20", {1, "c:\\a\x83%20"}, {1, "c:\\a\x83 "}},
    };
    for (const auto& row : rows) {
        const Checked shiftJis = Check(row.root, kShiftJis);
        EXPECT_EQ(shiftJis.valid, row.shiftJis.valid) << row.root;
        EXPECT_EQ(shiftJis.root, row.shiftJis.root) << row.root;
        const Checked singleByte = Check(row.root, kSingleByte);
        EXPECT_EQ(singleByte.valid, row.singleByte.valid) << row.root;
        EXPECT_EQ(singleByte.root, row.singleByte.root) << row.root;
    }
}
