// Fixed lead-byte rules for the tests: a single-byte code page such as 1252, where every byte
// is a character, and the Japanese code page 932 (Shift-JIS), whose two-byte characters begin
// with 0x81-0x9F or 0xE0-0xFC.
//
// Shift-JIS texts used by the tests, as escaped bytes:
//   "\x83\x5C" is "ソ", "\x83\x74\x83\x67" is "フト" (with "ソ": "ソフト");
//   "\x83\x8C\x83\x7C\x81\x5B\x83\x67" is "レポート", whose "ポ" is "\x83\x7C".
#pragma once

#include "CodePageText.h"

struct SingleByteCodePage final : LeadByteRule {
    bool IsLeadByte(unsigned char) const override { return false; }
};

struct ShiftJisCodePage final : LeadByteRule {
    bool IsLeadByte(unsigned char byte) const override {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
};

inline const SingleByteCodePage kSingleByte{};
inline const ShiftJisCodePage kShiftJis{};
