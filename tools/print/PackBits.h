// The PackBits run-length scheme that TIFF files use (compression 32773).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vlprint {

// Appends the packed form of one row to `out`. TIFF packs each row on its own: no run crosses
// the end of a row.
void PackBitsRow(const std::uint8_t* row, std::size_t length, std::vector<std::uint8_t>& out);

} // namespace vlprint
