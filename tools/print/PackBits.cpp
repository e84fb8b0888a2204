#include "PackBits.h"

namespace vlprint {

namespace {

constexpr std::size_t kLongestRun = 128;

std::size_t RunLength(const std::uint8_t* data, std::size_t at, std::size_t length) {
    std::size_t run = 1;
    while (at + run < length && run < kLongestRun && data[at + run] == data[at]) {
        ++run;
    }
    return run;
}

void FlushLiteral(const std::uint8_t* data, std::size_t start, std::size_t end,
                  std::vector<std::uint8_t>& out) {
    if (start == end) {
        return;
    }
    out.push_back(static_cast<std::uint8_t>(end - start - 1));
    out.insert(out.end(), data + start, data + end);
}

} // namespace

// Runs of three or more equal bytes become replicate runs. A pair becomes one too, unless a
// literal is being gathered: there it costs the same two bytes and keeps the literal whole.
void PackBitsRow(const std::uint8_t* row, std::size_t length, std::vector<std::uint8_t>& out) {
    std::size_t literalStart = 0;
    std::size_t at = 0;
    while (at < length) {
        const std::size_t run = RunLength(row, at, length);
        const bool literalPending = literalStart < at;
        if (run >= 3 || (run == 2 && !literalPending)) {
            FlushLiteral(row, literalStart, at, out);
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[at]);
            at += run;
            literalStart = at;
            continue;
        }
        at += run;
        if (at - literalStart >= kLongestRun) {
            FlushLiteral(row, literalStart, literalStart + kLongestRun, out);
            literalStart += kLongestRun;
        }
    }
    FlushLiteral(row, literalStart, length, out);
}

} // namespace vlprint
