#include "PageRenderer.h"

#include "PageFormat.h"
#include "TextLayout.h"

#include <windows.h>

#include <cstring>

namespace vlprint {

namespace {

// A 1-bit bitmap whose colour 0 is white and colour 1 black, so that its bits are already a
// bilevel page's bits; rows are padded to 32 bits and stored top row first.
struct MonochromeBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};

class PageCanvas {
  public:
    PageCanvas() : dc(CreateCompatibleDC(nullptr)) {
        MonochromeBitmapInfo info = {};
        info.header.biSize = sizeof(info.header);
        info.header.biWidth = static_cast<LONG>(kPageWidth);
        info.header.biHeight = -static_cast<LONG>(kPageHeight);
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.header.biCompression = BI_RGB;
        info.colors[0] = {255, 255, 255, 0};
        info.colors[1] = {0, 0, 0, 0};
        bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                  nullptr, 0);
        // Aliased glyphs: a bilevel page has no grey to smooth them with.
        font = CreateFontA(-MulDiv(kFontPoints, kDotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace);
        if (Ready()) {
            oldBitmap = SelectObject(dc, bitmap);
            oldFont = SelectObject(dc, font);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
        }
    }
    ~PageCanvas() {
        if (oldFont) {
            SelectObject(dc, oldFont);
            SelectObject(dc, oldBitmap);
        }
        if (font) {
            DeleteObject(font);
        }
        if (bitmap) {
            DeleteObject(bitmap);
        }
        if (dc) {
            DeleteDC(dc);
        }
    }
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    bool Ready() const { return dc && bitmap && bits && font; }

    std::string FontFace() const {
        char face[LF_FACESIZE] = "";
        GetTextFaceA(dc, sizeof(face), face);
        return face;
    }
    int LineHeight() const {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        return metrics.tmHeight + metrics.tmExternalLeading;
    }
    int Measure(const std::string& text) const {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    BilevelPage Render(const TextPage& lines, int lineHeight) {
        GdiFlush();
        std::memset(bits, 0, Stride() * kPageHeight);
        int y = kMargin;
        for (const std::string& line : lines) {
            TextOutA(dc, kMargin, y, line.data(), static_cast<int>(line.size()));
            y += lineHeight;
        }
        GdiFlush();
        BilevelPage page(kPageWidth, kPageHeight);
        const auto* source = static_cast<const std::uint8_t*>(bits);
        for (std::uint32_t row = 0; row < kPageHeight; ++row) {
            std::memcpy(page.Row(row), source + row * Stride(), page.BytesPerRow());
        }
        return page;
    }

  private:
    static std::size_t Stride() { return (kPageWidth + 31) / 32 * 4; }

    HDC dc;
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    HFONT font = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HGDIOBJ oldFont = nullptr;
};

} // namespace

bool RenderDocument(const std::string& document, RenderedDocument& rendered) {
    PageCanvas canvas;
    const int lineHeight = canvas.Ready() ? canvas.LineHeight() : 0;
    if (lineHeight <= 0) {
        return false;
    }
    const int textWidth = static_cast<int>(kPageWidth) - 2 * kMargin;
    const int linesPerPage = (static_cast<int>(kPageHeight) - 2 * kMargin) / lineHeight;
    const std::vector<TextPage> layout =
        LayOutPages(document, textWidth, linesPerPage,
                    [&canvas](const std::string& text) { return canvas.Measure(text); });
    rendered.fontFace = canvas.FontFace();
    rendered.pages.clear();
    for (const TextPage& lines : layout) {
        rendered.pages.push_back(canvas.Render(lines, lineHeight));
    }
    return true;
}

} // namespace vlprint
