// The page that VlPrint prints on: A4 portrait at 150 dots per inch with one-inch margins,
// in 10-point Courier New. 150 dpi keeps the text legible and a page's file small.
#pragma once

#include <cstdint>

namespace vlprint {

constexpr std::uint32_t kDotsPerInch = 150;
constexpr std::uint32_t kPageWidth = 1240;  // 210 mm
constexpr std::uint32_t kPageHeight = 1754; // 297 mm
constexpr int kMargin = 150;
constexpr const char* kFontFace = "Courier New";
constexpr int kFontPoints = 10;

} // namespace vlprint
