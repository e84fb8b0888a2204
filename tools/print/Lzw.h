// The LZW scheme that TIFF files use (compression 5): codes of 9 to 12 bits written most
// significant bit first, Clear 256 and EndOfInformation 257, and the code width growing one
// code earlier than in other LZW flavours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vlprint {

// The codes for one strip: Clear, the data, EndOfInformation.
std::vector<std::uint8_t> LzwEncodeStrip(const std::uint8_t* data, std::size_t length);

} // namespace vlprint
