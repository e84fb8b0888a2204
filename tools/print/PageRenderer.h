// Renders a plain-text document with GDI into bilevel pages of the page format.
#pragma once

#include "BilevelPage.h"

#include <string>
#include <vector>

namespace vlprint {

struct RenderedDocument {
    std::vector<BilevelPage> pages;
    std::string fontFace; // the face GDI actually chose
};

// False when GDI could not provide the bitmap or the font.
bool RenderDocument(const std::string& document, RenderedDocument& rendered);

} // namespace vlprint
