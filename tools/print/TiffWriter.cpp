#include "TiffWriter.h"

#include "Lzw.h"
#include "PackBits.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace vlprint {

namespace {

// Baseline readers prefer strips of about 8 KB.
constexpr std::size_t kStripBytes = 8192;

enum Tag : std::uint16_t {
    kNewSubfileType = 254,
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometricInterpretation = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kResolutionUnit = 296,
    kPageNumber = 297,
};

enum FieldType : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };

constexpr std::uint16_t kWhiteIsZero = 0;
constexpr std::uint16_t kInch = 2;
constexpr std::uint32_t kPageOfMultipage = 2;

class ByteWriter {
  public:
    std::size_t Size() const { return bytes.size(); }
    void Put16(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Put32(std::uint32_t value) {
        Put16(static_cast<std::uint16_t>(value));
        Put16(static_cast<std::uint16_t>(value >> 16));
    }
    void Patch32(std::size_t at, std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes[at++] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    void PutBytes(const std::vector<std::uint8_t>& data) {
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    // TIFF wants every directory and every value outside it to begin at an even offset.
    void AlignToWord() {
        if (bytes.size() % 2 != 0) {
            bytes.push_back(0);
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes); }

  private:
    std::vector<std::uint8_t> bytes;
};

std::uint32_t Offset(std::size_t position) {
    return static_cast<std::uint32_t>(position);
}

std::vector<std::uint8_t> CompressStrip(const BilevelPage& page, std::uint32_t firstRow,
                                        std::uint32_t rows, Compression compression) {
    const std::uint8_t* start = page.Row(firstRow);
    const std::size_t length = page.BytesPerRow() * rows;
    switch (compression) {
    case Compression::PackBits: {
        std::vector<std::uint8_t> packed;
        for (std::uint32_t row = 0; row < rows; ++row) {
            PackBitsRow(page.Row(firstRow + row), page.BytesPerRow(), packed);
        }
        return packed;
    }
    case Compression::Lzw:
        return LzwEncodeStrip(start, length);
    case Compression::None:
        break;
    }
    return std::vector<std::uint8_t>(start, start + length);
}

struct Strips {
    std::uint32_t rowsPerStrip;
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint32_t> byteCounts;
};

Strips WriteStrips(ByteWriter& file, const BilevelPage& page, Compression compression) {
    Strips strips;
    strips.rowsPerStrip = static_cast<std::uint32_t>(
        std::max<std::size_t>(1, kStripBytes / std::max<std::size_t>(1, page.BytesPerRow())));
    for (std::uint32_t row = 0; row < page.height; row += strips.rowsPerStrip) {
        const std::uint32_t rows = std::min(strips.rowsPerStrip, page.height - row);
        const std::vector<std::uint8_t> data = CompressStrip(page, row, rows, compression);
        file.AlignToWord();
        strips.offsets.push_back(Offset(file.Size()));
        strips.byteCounts.push_back(static_cast<std::uint32_t>(data.size()));
        file.PutBytes(data);
    }
    return strips;
}

// One directory entry; a rational takes two of `values`, numerator and denominator. Values that
// do not fit the entry's four bytes live after the directory, and the entry points to them.
struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::vector<std::uint32_t> values;

    std::uint32_t Count() const {
        return static_cast<std::uint32_t>(type == kRational ? values.size() / 2 : values.size());
    }
    std::size_t ValueBytes() const { return (type == kShort ? 2 : 4) * values.size(); }
};

void PutValues(ByteWriter& file, const Entry& entry) {
    for (std::uint32_t value : entry.values) {
        if (entry.type == kShort) {
            file.Put16(static_cast<std::uint16_t>(value));
        } else {
            file.Put32(value);
        }
    }
}

// Writes the directory and its outside values; returns where its next-directory link is.
std::size_t WriteDirectory(ByteWriter& file, const std::vector<Entry>& entries) {
    file.AlignToWord();
    const std::size_t directoryBytes = 2 + 12 * entries.size() + 4;
    std::size_t outside = file.Size() + directoryBytes;
    file.Put16(static_cast<std::uint16_t>(entries.size()));
    for (const Entry& entry : entries) {
        file.Put16(entry.tag);
        file.Put16(entry.type);
        file.Put32(entry.Count());
        if (entry.ValueBytes() <= 4) {
            const std::size_t start = file.Size();
            PutValues(file, entry);
            while (file.Size() < start + 4) {
                file.Put16(0);
            }
        } else {
            file.Put32(Offset(outside));
            outside += entry.ValueBytes();
        }
    }
    const std::size_t nextLink = file.Size();
    file.Put32(0);
    for (const Entry& entry : entries) {
        if (entry.ValueBytes() > 4) {
            PutValues(file, entry);
        }
    }
    return nextLink;
}

std::vector<Entry> PageEntries(const BilevelPage& page, const Strips& strips,
                               Compression compression, std::uint32_t dotsPerInch,
                               std::uint32_t pageIndex, std::uint32_t pageCount) {
    return {
        {kNewSubfileType, kLong, {pageCount > 1 ? kPageOfMultipage : 0}},
        {kImageWidth, kLong, {page.width}},
        {kImageLength, kLong, {page.height}},
        {kBitsPerSample, kShort, {1}},
        {kCompression, kShort, {CompressionTag(compression)}},
        {kPhotometricInterpretation, kShort, {kWhiteIsZero}},
        {kStripOffsets, kLong, strips.offsets},
        {kSamplesPerPixel, kShort, {1}},
        {kRowsPerStrip, kLong, {strips.rowsPerStrip}},
        {kStripByteCounts, kLong, strips.byteCounts},
        {kXResolution, kRational, {dotsPerInch, 1}},
        {kYResolution, kRational, {dotsPerInch, 1}},
        {kResolutionUnit, kShort, {kInch}},
        {kPageNumber, kShort, {pageIndex, pageCount}},
    };
}

} // namespace

std::uint16_t CompressionTag(Compression compression) {
    switch (compression) {
    case Compression::PackBits:
        return 32773;
    case Compression::Lzw:
        return 5;
    case Compression::None:
        break;
    }
    return 1;
}

std::vector<std::uint8_t> WriteTiff(const std::vector<const BilevelPage*>& pages,
                                    Compression compression, std::uint32_t dotsPerInch) {
    ByteWriter file;
    file.Put16(0x4949); // "II": little-endian
    file.Put16(42);
    std::size_t link = file.Size();
    file.Put32(0);
    const auto pageCount = static_cast<std::uint32_t>(pages.size());
    for (std::uint32_t index = 0; index < pageCount; ++index) {
        const Strips strips = WriteStrips(file, *pages[index], compression);
        file.AlignToWord();
        file.Patch32(link, Offset(file.Size()));
        link = WriteDirectory(
            file, PageEntries(*pages[index], strips, compression, dotsPerInch, index, pageCount));
    }
    return file.Take();
}

} // namespace vlprint
