// What the properties dialog's path field may hold, so that it shows exactly what OK writes as
// "OutputPath": no control character (bytes 1 to 31), which would break the settings file's
// lines for every reader, the driver among them, at most 259 bytes of the ANSI code page by
// whole characters, the most the file's read keeps, and, where the field holds Unicode text,
// no character that the code page has no bytes for, which OK would write as "?" or as another
// character; once the user has left it, and when OK writes it, no spaces at either end and no
// quotation marks around the whole, which the file's read would drop. Any other text is the
// user's to choose.
// Free of Windows, so that the rules are tested natively.
#pragma once

#include "SettingsRules.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Whether a byte begins a two-byte character of the ANSI code page (932, 936, 949, 950). The
// program asks the system; the tests give fixed rules.
using LeadByteTest = bool (*)(unsigned char byte);

constexpr std::size_t kMaxPathFieldBytes = kOutputPath.bufferSize - 1;

struct PathFieldText {
    std::string text;
    // Just after what the edit put in, in bytes.
    std::size_t caret;
};

// What the field keeps once an edit has turned `before`, a text it may hold, into `after`, with
// the caret at `caret` bytes: nothing when it may hold `after` as well. Otherwise the edit's own
// characters, those it put before the caret, lose the ones with a control byte and are kept as
// far as they fit; the characters around them, which were there before, all stay. So a paste
// or a typed character never pushes the user's text out of the field, and a text set as a whole
// (the caret at its start) keeps its first whole characters that fit.
std::optional<PathFieldText> KeepEditWithinField(std::string_view before, std::string_view after,
                                                 std::size_t caret, LeadByteTest isLeadByte);

// The text as the settings file gives it back once OK has written it, so that the field can
// show that: the system's profile calls drop the spaces at either end, then take one pair of
// quotation marks (' or ") from around the whole value. Repeated until it reads back as it is,
// by whole characters (a lead byte takes the byte after it along, whatever that byte is).
std::string TextAsTheFileReadsIt(std::string_view text, LeadByteTest isLeadByte);

// The caret's place in bytes and as the field counts it: in bytes on Windows 9x, in characters
// on NT and under Wine. The field's length in its own count tells which.
std::size_t CaretInFieldCount(std::string_view text, std::size_t caretBytes,
                              std::size_t fieldLength, LeadByteTest isLeadByte);
std::size_t CaretInBytes(std::string_view text, std::size_t caretInField, std::size_t fieldLength,
                         LeadByteTest isLeadByte);

// Whether the ANSI code page writes a UTF-16 unit as bytes that read back as that very unit, as
// the system answers it.
using CodePageWrites = bool (*)(char16_t unit);

// The field's text as an edit control holds it on Windows NT and under Wine.
struct UnicodeFieldText {
    std::u16string text;
    // In UTF-16 units.
    std::size_t caret;
};

// The units of the field's text that the code page writes, the caret kept after the same ones.
// Each unit is judged alone: the halves of a surrogate pair, which an ANSI code page writes as
// "?", both go.
UnicodeFieldText KeepCodePageCharacters(const UnicodeFieldText& field, CodePageWrites writes);
