// Writes bilevel pages as a baseline TIFF file: little-endian, one image file directory per
// page, white stored as zero, the pages' strips compressed one by one.
#pragma once

#include "BilevelPage.h"

#include <cstdint>
#include <vector>

namespace vlprint {

enum class Compression { None, PackBits, Lzw };

// The TIFF value of the Compression tag.
std::uint16_t CompressionTag(Compression compression);

// The whole file: every page in order, each marked with its page number and the page count.
// A TIFF file holds at least one page, so `pages` must not be empty.
std::vector<std::uint8_t> WriteTiff(const std::vector<const BilevelPage*>& pages,
                                    Compression compression, std::uint32_t dotsPerInch);

} // namespace vlprint
