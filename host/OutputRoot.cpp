#include "OutputRoot.h"

#include "VelloraNames.h"

namespace {

constexpr char kForbiddenCharacters[] = "/:*?\"<>|";
constexpr std::string_view kSpaceCode = "%20";

// A colon is a drive's only right after a one-byte first character ("c:"); any other colon is
// forbidden. A colon after a two-byte first character names no drive.
std::size_t FirstForbiddenPosition(const std::string& path, char character,
                                   const LeadByteRule& codePage) {
    const std::string_view wanted(&character, 1);
    const bool driveColon = character == ':' && FindCharacters(path, wanted, 0, codePage) == 1;
    return FindCharacters(path, wanted, driveColon ? 2 : 0, codePage);
}

bool HoldsForbiddenCharacter(const std::string& path, const LeadByteRule& codePage) {
    for (const char* character = kForbiddenCharacters; *character != '\0'; ++character) {
        if (FirstForbiddenPosition(path, *character, codePage) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void DecodeSpaces(std::string& path, const LeadByteRule& codePage) {
    for (auto code = FindCharacters(path, kSpaceCode, 0, codePage); code != std::string::npos;
         code = FindCharacters(path, kSpaceCode, code + 1, codePage)) {
        path.replace(code, kSpaceCode.size(), " ");
    }
}

} // namespace

bool ValidateOutputRoot(std::string& path, const LeadByteRule& codePage) {
    if (path.empty()) {
        return false;
    }
    if (HoldsForbiddenCharacter(path, codePage)) {
        path = vellora::kDefaultOutputRoot;
        return false;
    }
    DecodeSpaces(path, codePage);
    return true;
}
