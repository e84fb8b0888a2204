// The lead-byte rule of one fuzz input, drawn from its first bytes: none (a single-byte code
// page), Shift-JIS's (932), that of the other double-byte code pages (936, 949, 950), or any
// set of the bytes from 0x80 up, where every code page keeps its lead bytes. With it, the
// input's text split into characters as the rules below state them.
#pragma once

#include "CodePageText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

class FuzzCodePage final : public LeadByteRule {
  public:
    explicit FuzzCodePage(FuzzedDataProvider& input) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 1:
            SetLeadBytes(0x81, 0x9F);
            SetLeadBytes(0xE0, 0xFC);
            break;
        case 2:
            SetLeadBytes(0x81, 0xFE);
            break;
        case 3:
            for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
                leadBytes[byte] = input.ConsumeBool();
            }
            break;
        default:
            break;
        }
    }

    bool IsLeadByte(unsigned char byte) const override { return leadBytes[byte]; }

    // A lead byte and the byte after it are one character; a lead byte at the end is one alone.
    std::vector<std::string> Characters(const std::string& text) const {
        std::vector<std::string> characters;
        for (std::size_t at = 0; at < text.size();) {
            const bool pair =
                leadBytes[static_cast<unsigned char>(text[at])] && at + 1 < text.size();
            const std::size_t length = pair ? 2 : 1;
            characters.push_back(text.substr(at, length));
            at += length;
        }
        return characters;
    }

  private:
    void SetLeadBytes(unsigned first, unsigned last) {
        for (unsigned byte = first; byte <= last; ++byte) {
            leadBytes[byte] = true;
        }
    }

    std::bitset<256> leadBytes;
};
