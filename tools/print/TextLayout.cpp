#include "TextLayout.h"

#include <utility>

namespace vlprint {

namespace {

constexpr char kFormFeed = '\f';

// Tabs become spaces up to the next tab stop; other control characters, which the font would
// draw as boxes, become single spaces.
std::string Printable(const std::string& line) {
    std::string text;
    for (char c : line) {
        if (c == '\t') {
            text.append(kTabStop - text.size() % kTabStop, ' ');
        } else {
            text.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
        }
    }
    return text;
}

// How many characters from `start` fit the width: up to the end of the last word that fits,
// or as many characters as fit when not even one word does, and always at least one.
std::size_t FittingLength(const std::string& text, std::size_t start, int lineWidth,
                          const MeasureText& measure) {
    std::size_t fits = 1;
    std::size_t atWordEnd = 0;
    for (std::size_t length = 1; start + length <= text.size(); ++length) {
        if (measure(text.substr(start, length)) > lineWidth) {
            break;
        }
        fits = length;
        const std::size_t end = start + length;
        if (text[end - 1] != ' ' && (end == text.size() || text[end] == ' ')) {
            atWordEnd = length;
        }
    }
    return atWordEnd != 0 ? atWordEnd : fits;
}

std::size_t TrimRight(const std::string& text, std::size_t end) {
    while (end > 0 && text[end - 1] == ' ') {
        --end;
    }
    return end;
}

// The lines of one paragraph; spaces at a break vanish, leading spaces stay as indentation.
std::vector<std::string> WrapParagraph(const std::string& paragraph, int lineWidth,
                                       const MeasureText& measure) {
    const std::string text = Printable(paragraph);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = start + FittingLength(text, start, lineWidth, measure);
        lines.push_back(text.substr(start, TrimRight(text, end) - start));
        start = end;
        while (start < text.size() && text[start] == ' ') {
            ++start;
        }
    }
    if (lines.empty()) {
        lines.emplace_back(); // an empty line is a line too
    }
    return lines;
}

class PageBuilder {
  public:
    explicit PageBuilder(int linesPerPage) : capacity(linesPerPage), pages(1) {}

    void AddLine(const std::string& line) {
        if (static_cast<int>(pages.back().size()) >= capacity) {
            NewPage();
        }
        pages.back().push_back(line);
    }
    void NewPage() { pages.emplace_back(); }
    // A form feed that ends the document asks for no blank page after it.
    std::vector<TextPage> Finish() {
        if (pages.size() > 1 && pages.back().empty()) {
            pages.pop_back();
        }
        return std::move(pages);
    }

  private:
    int capacity;
    std::vector<TextPage> pages;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    return parts;
}

} // namespace

std::vector<TextPage> LayOutPages(const std::string& document, int lineWidth, int linesPerPage,
                                  const MeasureText& measure) {
    std::vector<std::string> lines = Split(document, '\n');
    if (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back(); // the newline that ends the last line
    }
    PageBuilder builder(linesPerPage);
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> pieces = Split(line, kFormFeed);
        for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
            if (piece > 0) {
                builder.NewPage();
            }
            const bool formFeedOnly = pieces[piece].empty() && pieces.size() > 1;
            if (!formFeedOnly) {
                for (const std::string& wrapped :
                     WrapParagraph(pieces[piece], lineWidth, measure)) {
                    builder.AddLine(wrapped);
                }
            }
        }
    }
    return builder.Finish();
}

std::string TestPagesDocument(int pages) {
    std::string document;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) {
            document += kFormFeed;
        }
        document += "Vellora 9x test page " + std::to_string(page) + " of " +
                    std::to_string(pages) + "\n\n";
        document += "This page was printed by the driver stand-in VlPrint. Each page of a test "
                    "print says which page it is, so that the pages of a multipage file and the "
                    "files of a print with one file per page can be told apart.\n";
    }
    return document;
}

} // namespace vlprint
