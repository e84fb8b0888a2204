// One printed page as a bilevel image: rows of bits, most significant bit first, each row
// padded to whole bytes, a set bit standing for black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vlprint {

struct BilevelPage {
    BilevelPage(std::uint32_t pixelsWide, std::uint32_t pixelsHigh)
        : width(pixelsWide), height(pixelsHigh), bits(BytesPerRow() * pixelsHigh) {}

    std::size_t BytesPerRow() const { return (width + 7u) / 8u; }
    const std::uint8_t* Row(std::uint32_t y) const { return bits.data() + y * BytesPerRow(); }
    std::uint8_t* Row(std::uint32_t y) { return bits.data() + y * BytesPerRow(); }

    std::uint32_t width;
    std::uint32_t height;
    std::vector<std::uint8_t> bits;
};

} // namespace vlprint
