#include "PathFieldText.h"

#include <algorithm>

namespace {

bool IsControlByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 1 && value <= 31;
}

bool FieldMayHold(std::string_view text) {
    return text.size() <= kMaxPathFieldBytes &&
           std::none_of(text.begin(), text.end(), IsControlByte);
}

// Where the character at `at` ends. A lead byte takes the byte after it along, whatever that
// byte is; as the text's last byte it is a character of its own.
std::size_t CharacterEnd(std::string_view text, std::size_t at, LeadByteTest isLeadByte) {
    const bool twoBytes = isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
    return at + (twoBytes ? 2 : 1);
}

// The length of the whole characters that both texts begin with.
std::size_t CommonStart(std::string_view a, std::string_view b, LeadByteTest isLeadByte) {
    std::size_t at = 0;
    while (at < a.size()) {
        const std::size_t end = CharacterEnd(a, at, isLeadByte);
        if (end > b.size() || CharacterEnd(b, at, isLeadByte) != end ||
            a.substr(at, end - at) != b.substr(at, end - at)) {
            break;
        }
        at = end;
    }
    return at;
}

// Whether `ending` is what the text's last whole characters are.
bool EndsWithCharacters(std::string_view text, std::string_view ending, LeadByteTest isLeadByte) {
    if (ending.size() > text.size() || text.substr(text.size() - ending.size()) != ending) {
        return false;
    }
    // Equal bytes are not enough: a second byte may equal a character of its own ("\" in 932).
    std::size_t at = 0;
    while (at < text.size() - ending.size()) {
        at = CharacterEnd(text, at, isLeadByte);
    }
    return at == text.size() - ending.size();
}

// The text's characters that hold no control byte, up to the first that does not fit in
// `room` bytes. A lead byte paired with a control byte goes with it: alone it would take the
// next text's first byte for its second.
std::string FieldCharacters(std::string_view text, std::size_t room, LeadByteTest isLeadByte) {
    std::string kept;
    for (std::size_t at = 0, end = 0; at < text.size(); at = end) {
        end = CharacterEnd(text, at, isLeadByte);
        const std::string_view character = text.substr(at, end - at);
        if (std::any_of(character.begin(), character.end(), IsControlByte)) {
            continue;
        }
        if (kept.size() + character.size() > room) {
            break;
        }
        kept += character;
    }
    return kept;
}

// One pass of what the profile calls do to a value: the spaces at either end, then a pair of
// quotation marks around the whole.
std::string_view AsReadOnce(std::string_view text, LeadByteTest isLeadByte) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (EndsWithCharacters(text, " ", isLeadByte)) {
        text.remove_suffix(1);
    }
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        EndsWithCharacters(text, text.substr(0, 1), isLeadByte);
    return quoted ? text.substr(1, text.size() - 2) : text;
}

} // namespace

std::string TextAsTheFileReadsIt(std::string_view text, LeadByteTest isLeadByte) {
    for (std::string_view read = AsReadOnce(text, isLeadByte); read.size() < text.size();
         read = AsReadOnce(text, isLeadByte)) {
        text = read;
    }
    return std::string(text);
}

std::optional<PathFieldText> KeepEditWithinField(std::string_view before, std::string_view after,
                                                 std::size_t caret, LeadByteTest isLeadByte) {
    if (FieldMayHold(after)) {
        return std::nullopt;
    }
    // Typing and pasting put their text just before the caret, and what follows it was there
    // before. Text set as a whole (the caret at its start) has no such end.
    const std::string_view followsCaret = after.substr(std::min(caret, after.size()));
    const std::size_t end =
        EndsWithCharacters(before, followsCaret, isLeadByte) ? followsCaret.size() : 0;
    const std::size_t start = CommonStart(before.substr(0, before.size() - end),
                                          after.substr(0, after.size() - end), isLeadByte);
    const std::string_view put = after.substr(start, after.size() - end - start);
    // Both kept parts come from `before`, which fits, so they leave room for nothing at worst.
    const std::size_t room = kMaxPathFieldBytes - std::min(kMaxPathFieldBytes, start + end);
    PathFieldText kept{std::string(after.substr(0, start)) + FieldCharacters(put, room, isLeadByte),
                       0};
    kept.caret = kept.text.size();
    kept.text += after.substr(after.size() - end);
    return kept;
}

std::size_t CaretInFieldCount(std::string_view text, std::size_t caretBytes,
                              std::size_t fieldLength, LeadByteTest isLeadByte) {
    // Equal lengths: the field counts bytes, or the text has no two-byte character.
    if (fieldLength == text.size()) {
        return caretBytes;
    }
    std::size_t characters = 0;
    for (std::size_t at = 0; at < caretBytes; at = CharacterEnd(text, at, isLeadByte)) {
        ++characters;
    }
    return characters;
}

std::size_t CaretInBytes(std::string_view text, std::size_t caretInField, std::size_t fieldLength,
                         LeadByteTest isLeadByte) {
    if (fieldLength == text.size()) {
        return std::min(caretInField, text.size());
    }
    std::size_t at = 0;
    for (std::size_t characters = 0; characters < caretInField && at < text.size(); ++characters) {
        at = CharacterEnd(text, at, isLeadByte);
    }
    return at;
}

UnicodeFieldText KeepCodePageCharacters(const UnicodeFieldText& field, CodePageWrites writes) {
    UnicodeFieldText kept{std::u16string(), 0};
    for (std::size_t at = 0; at < field.text.size(); ++at) {
        if (writes(field.text[at])) {
            kept.text += field.text[at];
            kept.caret += at < field.caret ? 1 : 0;
        }
    }
    return kept;
}
