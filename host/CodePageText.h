// Texts in the ANSI code page, read by whole characters. On the double-byte code pages
// (Japanese 932, Simplified Chinese 936, Korean 949, Traditional Chinese 950) a lead byte and
// the byte after it form one character, and that second byte may be the byte of "\" or "|": a
// byte found at the wrong place belongs to another character. Every search here starts at a
// character's first byte and steps from character to character, as CharNextA does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Which bytes begin a two-byte character. The program asks the system about its ANSI code
// page; the tests give fixed rules.
class LeadByteRule {
  public:
    virtual bool IsLeadByte(unsigned char byte) const = 0;

  protected:
    LeadByteRule() = default;
    ~LeadByteRule() = default;
    LeadByteRule(const LeadByteRule&) = default;
    LeadByteRule& operator=(const LeadByteRule&) = default;
};

// Where the character that begins at `at` ends. A lead byte takes the byte after it along,
// except as the text's last byte: a lone lead byte at the end is a character of its own.
std::size_t CharacterEnd(const std::string& text, std::size_t at, const LeadByteRule& codePage);

// The first place, at `from` (a character's start) or later, where the one-byte characters of
// `characters` follow one another; npos when there is none.
std::size_t FindCharacters(const std::string& text, std::string_view characters, std::size_t from,
                           const LeadByteRule& codePage);

// The start of the last one-byte character `character`; npos when there is none.
std::size_t FindLastCharacter(const std::string& text, char character,
                              const LeadByteRule& codePage);

// The text's first whole characters that fit in `maxBytes` bytes.
std::string WholeCharactersWithin(const std::string& text, std::size_t maxBytes,
                                  const LeadByteRule& codePage);
