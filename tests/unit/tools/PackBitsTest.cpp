#include "PackBits.h"

#include <gtest/gtest.h>

using vlprint::PackBitsRow;

namespace {

std::vector<std::uint8_t> Pack(const std::vector<std::uint8_t>& row) {
    std::vector<std::uint8_t> out;
    PackBitsRow(row.data(), row.size(), out);
    return out;
}

} // namespace

TEST(PackBits, packs_the_example_of_the_tiff_format_document) {
    const std::vector<std::uint8_t> row = {0xAA, 0xAA, 0xAA, 0x80, 0x00, 0x2A, 0xAA, 0xAA,
                                           0xAA, 0xAA, 0x80, 0x00, 0x2A, 0x22, 0xAA, 0xAA,
                                           0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    const std::vector<std::uint8_t> packed = {0xFE, 0xAA, 0x02, 0x80, 0x00, 0x2A, 0xFD, 0xAA,
                                              0x03, 0x80, 0x00, 0x2A, 0x22, 0xF7, 0xAA};
    EXPECT_EQ(Pack(row), packed);
}

TEST(PackBits, short_rows) {
    EXPECT_EQ(Pack({}), std::vector<std::uint8_t>{});
    EXPECT_EQ(Pack({0x12}), (std::vector<std::uint8_t>{0x00, 0x12}));
    EXPECT_EQ(Pack({0x12, 0x12}), (std::vector<std::uint8_t>{0xFF, 0x12}));
    EXPECT_EQ(Pack({0x12, 0x34}), (std::vector<std::uint8_t>{0x01, 0x12, 0x34}));
}

TEST(PackBits, a_pair_inside_a_literal_stays_in_it) {
    EXPECT_EQ(Pack({1, 2, 2, 3}), (std::vector<std::uint8_t>{0x03, 1, 2, 2, 3}));
    EXPECT_EQ(Pack({2, 2, 3}), (std::vector<std::uint8_t>{0xFF, 2, 0x00, 3}));
}

TEST(PackBits, runs_longer_than_128_are_split) {
    EXPECT_EQ(Pack(std::vector<std::uint8_t>(128, 0)), (std::vector<std::uint8_t>{0x81, 0}));
    EXPECT_EQ(Pack(std::vector<std::uint8_t>(130, 0)),
              (std::vector<std::uint8_t>{0x81, 0, 0xFF, 0}));
    EXPECT_EQ(Pack(std::vector<std::uint8_t>(129, 0)),
              (std::vector<std::uint8_t>{0x81, 0, 0x00, 0}));
}

TEST(PackBits, literals_longer_than_128_are_split) {
    std::vector<std::uint8_t> row;
    for (int i = 0; i < 130; ++i) {
        row.push_back(static_cast<std::uint8_t>(i));
    }
    std::vector<std::uint8_t> packed = {127};
    packed.insert(packed.end(), row.begin(), row.begin() + 128);
    packed.insert(packed.end(), {1, 128, 129});
    EXPECT_EQ(Pack(row), packed);
}

TEST(PackBits, appends_to_what_is_already_packed) {
    std::vector<std::uint8_t> out = {0x55};
    const std::uint8_t row[] = {7, 7, 7};
    PackBitsRow(row, sizeof(row), out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x55, 0xFE, 7}));
}
