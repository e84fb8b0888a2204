#include "Lzw.h"

#include <unordered_map>
#include <utility>

namespace vlprint {

namespace {

constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFreeCode = 258;
constexpr unsigned kNarrowestWidth = 9;
// Readers widen their codes after adding the entry before (1 << width) - 1, one entry sooner
// than the writer does; so the writer starts afresh before the table would need a code 4094.
constexpr unsigned kTableFull = 4094;

class CodeWriter {
  public:
    void Put(unsigned code, unsigned width) {
        pending = (pending << width) | code;
        pendingBits += width;
        while (pendingBits >= 8) {
            pendingBits -= 8;
            out.push_back(static_cast<std::uint8_t>(pending >> pendingBits));
        }
        pending &= (1u << pendingBits) - 1u;
    }
    std::vector<std::uint8_t> Finish() {
        if (pendingBits > 0) {
            out.push_back(static_cast<std::uint8_t>(pending << (8 - pendingBits)));
        }
        return std::move(out);
    }

  private:
    std::uint32_t pending = 0;
    unsigned pendingBits = 0;
    std::vector<std::uint8_t> out;
};

class StringTable {
  public:
    // The code of the string `prefix` followed by `byte`, or 0 when the table lacks it.
    unsigned Find(unsigned prefix, std::uint8_t byte) const {
        const auto found = codes.find(Key(prefix, byte));
        return found == codes.end() ? 0 : found->second;
    }
    // Adds the string and says whether the table is full now and must start afresh.
    bool Add(unsigned prefix, std::uint8_t byte) {
        codes.emplace(Key(prefix, byte), nextCode);
        return ++nextCode == kTableFull;
    }
    // The width that the next code needs, counting entries as readers do.
    unsigned Width() const {
        unsigned width = kNarrowestWidth;
        while (nextCode > (1u << width) - 1u) {
            ++width;
        }
        return width;
    }
    void Clear() {
        codes.clear();
        nextCode = kFirstFreeCode;
    }
    // Counts the entry that readers add on reading the last code, so that EndOfInformation
    // is written in the width they expect.
    void CountEntryAfterLastCode() { ++nextCode; }

  private:
    static std::uint32_t Key(unsigned prefix, std::uint8_t byte) { return prefix << 8 | byte; }

    std::unordered_map<std::uint32_t, unsigned> codes;
    unsigned nextCode = kFirstFreeCode;
};

} // namespace

std::vector<std::uint8_t> LzwEncodeStrip(const std::uint8_t* data, std::size_t length) {
    CodeWriter writer;
    StringTable table;
    writer.Put(kClearCode, table.Width());
    if (length > 0) {
        unsigned current = data[0];
        for (std::size_t at = 1; at < length; ++at) {
            const unsigned longer = table.Find(current, data[at]);
            if (longer != 0) {
                current = longer;
                continue;
            }
            writer.Put(current, table.Width());
            if (table.Add(current, data[at])) {
                writer.Put(kClearCode, table.Width());
                table.Clear();
            }
            current = data[at];
        }
        writer.Put(current, table.Width());
        table.CountEntryAfterLastCode();
    }
    writer.Put(kEndCode, table.Width());
    return writer.Finish();
}

} // namespace vlprint
