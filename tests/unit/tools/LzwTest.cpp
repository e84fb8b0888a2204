#include "Lzw.h"

#include <gtest/gtest.h>

using vlprint::LzwEncodeStrip;

namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEnd = 257;

std::vector<std::uint8_t> Encode(const std::vector<std::uint8_t>& data) {
    return LzwEncodeStrip(data.data(), data.size());
}

// Reads codes of the given widths, most significant bit first, as a reader would.
class CodeReader {
  public:
    explicit CodeReader(const std::vector<std::uint8_t>& data) : bytes(data) {}
    unsigned Read(unsigned width) {
        unsigned code = 0;
        for (unsigned i = 0; i < width; ++i, ++bit) {
            const unsigned byte = bytes.at(bit / 8);
            code = code << 1 | ((byte >> (7 - bit % 8)) & 1u);
        }
        return code;
    }
    std::size_t BitsLeft() const { return bytes.size() * 8 - bit; }

  private:
    const std::vector<std::uint8_t>& bytes;
    std::size_t bit = 0;
};

// Bytes whose neighbouring pairs never repeat: each block steps through all 256 values by an
// odd stride of its own, and the pair across two blocks belongs to the earlier block's stride.
// So the encoder writes one code per byte and adds a table entry for each.
std::vector<std::uint8_t> BytesWithoutRepeatedPairs(std::size_t blocks) {
    std::vector<std::uint8_t> data;
    for (unsigned stride = 1; data.size() < blocks * 256; stride += 2) {
        for (unsigned step = 0; step < 256; ++step) {
            data.push_back(static_cast<std::uint8_t>(step * stride));
        }
    }
    return data;
}

} // namespace

TEST(Lzw, encodes_the_example_of_the_tiff_format_document) {
    // Codes Clear 7 258 8 8 258 6 6 End, each nine bits wide.
    EXPECT_EQ(Encode({7, 7, 7, 8, 8, 7, 7, 6, 6}),
              (std::vector<std::uint8_t>{0x80, 0x01, 0xE0, 0x40, 0x80, 0x44, 0x08, 0x0C, 0x06, 0x80,
                                         0x80}));
}

TEST(Lzw, empty_and_single_byte_strips) {
    EXPECT_EQ(Encode({}), (std::vector<std::uint8_t>{0x80, 0x40, 0x40}));
    EXPECT_EQ(Encode({0x41}), (std::vector<std::uint8_t>{0x80, 0x10, 0x60, 0x20}));
}

TEST(Lzw, codes_widen_to_ten_bits_once_entry_511_is_in_the_table) {
    std::vector<std::uint8_t> data;
    for (unsigned value = 0; value < 256; ++value) {
        data.push_back(static_cast<std::uint8_t>(value));
    }
    const std::vector<std::uint8_t> encoded = Encode(data);
    CodeReader reader(encoded);
    EXPECT_EQ(reader.Read(9), kClear);
    // Codes 0..253 add the entries 258..511; the code after that is ten bits wide, and so is
    // End, which follows the entry a reader adds for the last code.
    for (unsigned value = 0; value <= 253; ++value) {
        ASSERT_EQ(reader.Read(9), value);
    }
    EXPECT_EQ(reader.Read(10), 254u);
    EXPECT_EQ(reader.Read(10), 255u);
    EXPECT_EQ(reader.Read(10), kEnd);
    EXPECT_LT(reader.BitsLeft(), 8u);
    EXPECT_EQ(encoded.size(), 291u);
}

TEST(Lzw, a_full_table_starts_afresh_with_a_twelve_bit_clear) {
    const std::vector<std::uint8_t> data = BytesWithoutRepeatedPairs(16);
    const std::vector<std::uint8_t> encoded = Encode(data);
    CodeReader reader(encoded);
    ASSERT_EQ(reader.Read(9), kClear);
    // Code k adds the entry 258 + k; its width is the one that entry's number asks for.
    struct Widths {
        unsigned lastEntry;
        unsigned width;
    };
    std::size_t at = 0;
    for (const Widths& band :
         {Widths{511, 9}, Widths{1023, 10}, Widths{2047, 11}, Widths{4093, 12}}) {
        for (; 258 + at <= band.lastEntry; ++at) {
            ASSERT_EQ(reader.Read(band.width), data[at]) << at;
        }
    }
    EXPECT_EQ(reader.Read(12), kClear);
    EXPECT_EQ(reader.Read(9), data[at]);
    EXPECT_EQ(reader.Read(9), data[at + 1]);
}
