#include "CodePageText.h"

namespace {

bool IsOneByteCharacter(const std::string& text, std::size_t at, char character,
                        const LeadByteRule& codePage) {
    return at < text.size() && text[at] == character && CharacterEnd(text, at, codePage) == at + 1;
}

bool CharactersFollow(const std::string& text, std::size_t at, std::string_view characters,
                      const LeadByteRule& codePage) {
    for (const char character : characters) {
        if (!IsOneByteCharacter(text, at, character, codePage)) {
            return false;
        }
        ++at;
    }
    return true;
}

} // namespace

std::size_t CharacterEnd(const std::string& text, std::size_t at, const LeadByteRule& codePage) {
    const bool twoBytes =
        codePage.IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
    return at + (twoBytes ? 2 : 1);
}

std::size_t FindCharacters(const std::string& text, std::string_view characters, std::size_t from,
                           const LeadByteRule& codePage) {
    for (std::size_t at = from; at < text.size(); at = CharacterEnd(text, at, codePage)) {
        if (CharactersFollow(text, at, characters, codePage)) {
            return at;
        }
    }
    return std::string::npos;
}

std::size_t FindLastCharacter(const std::string& text, char character,
                              const LeadByteRule& codePage) {
    std::size_t last = std::string::npos;
    for (std::size_t at = 0; at < text.size(); at = CharacterEnd(text, at, codePage)) {
        if (IsOneByteCharacter(text, at, character, codePage)) {
            last = at;
        }
    }
    return last;
}

std::string WholeCharactersWithin(const std::string& text, std::size_t maxBytes,
                                  const LeadByteRule& codePage) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = CharacterEnd(text, end, codePage);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}
