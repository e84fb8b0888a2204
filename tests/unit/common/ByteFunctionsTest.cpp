#include "ByteFunctions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Move {
    std::size_t to, from, count;
    const char* expected;
};

// Moves within "abcdefgh" and returns the whole buffer.
std::string MovedWithin(const Move& move) {
    std::string text = "abcdefgh";
    void* result = vellora::MoveBytes(&text[move.to], &text[move.from], move.count);
    EXPECT_EQ(result, &text[move.to]);
    return text;
}

} // namespace

TEST(MoveBytes, overlapping_ranges_are_copied_whole_in_either_direction) {
    const Move moves[] = {
        {0, 2, 6, "cdefghgh"}, // target below the source
        {2, 0, 6, "ababcdef"}, // target above the source
        {1, 1, 7, "abcdefgh"}, // onto itself
        {3, 5, 0, "abcdefgh"}, // nothing
    };
    for (const Move& move : moves) {
        EXPECT_EQ(MovedWithin(move), move.expected) << move.to << " " << move.from;
    }
}

TEST(CompareBytes, bytes_compare_as_unsigned_up_to_the_count) {
    struct Case {
        const char* what;
        const char *first, *second;
        std::size_t count;
        int sign;
    } cases[] = {
        {"a lead byte of code page 932 above an ASCII byte", "\x81", "\x7f", 1, 1},
        {"the same after an equal byte", "a\x7f", "a\x81", 2, -1},
        {"a difference beyond the count", "abc", "abd", 2, 0},
        {"a difference within the count", "abc", "abd", 3, -1},
        {"no bytes", "", "x", 0, 0},
    };
    for (const Case& c : cases) {
        const int result = vellora::CompareBytes(c.first, c.second, c.count);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.what;
    }
}

TEST(FindByte, takes_the_low_byte_of_the_value_and_stops_at_the_count) {
    const char text[] = "ab\x81\\cd";
    EXPECT_EQ(vellora::FindByte(text, static_cast<char>('\x81'), 6), text + 2);
    EXPECT_EQ(vellora::FindByte(text, 0x15C, 6), text + 3);
    EXPECT_EQ(vellora::FindByte(text, 'c', 4), nullptr);
    EXPECT_EQ(vellora::FindByte(text, '\0', 7), text + 6);
}

TEST(FillBytes, writes_the_low_byte_of_the_value_up_to_the_count) {
    std::string text = "abcdef";
    EXPECT_EQ(vellora::FillBytes(&text[1], 0x1A5, 4), &text[1]);
    EXPECT_EQ(text, "a\xA5\xA5\xA5\xA5"
                    "f");
}

TEST(TextLength, counts_every_byte_before_the_zero) {
    EXPECT_EQ(vellora::TextLength(""), 0u);
    // c:\ソフ on code page 932: lead bytes above 0x7F count like any other.
    EXPECT_EQ(vellora::TextLength("c:\\\x83\x5C\x83\x74"), 7u);
}
