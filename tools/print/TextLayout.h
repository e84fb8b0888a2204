// Lays a plain-text document out in lines and pages: line breaks at spaces, words too long for
// a line broken where they reach its end, a form feed starting a new page.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vlprint {

using TextPage = std::vector<std::string>;
// The width of a text in the units of the line width, as the font draws it.
using MeasureText = std::function<int(const std::string&)>;

constexpr unsigned kTabStop = 8;

// Every page of the document; a document always has at least one page, maybe an empty one.
std::vector<TextPage> LayOutPages(const std::string& document, int lineWidth, int linesPerPage,
                                  const MeasureText& measure);

// A document of `pages` test pages, each saying which page of how many it is.
std::string TestPagesDocument(int pages);

} // namespace vlprint
