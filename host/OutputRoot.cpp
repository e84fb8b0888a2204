#include "OutputRoot.h"

#include "VelloraNames.h"

namespace {

constexpr char kForbiddenCharacters[] = "/:*?\"<>|";

// A colon is a drive's only in second place ("c:"); any other colon is forbidden.
std::string::size_type FirstForbiddenPosition(const std::string& path, char character) {
    const bool driveColon = character == ':' && path.find(':') == 1;
    return path.find(character, driveColon ? 2 : 0);
}

bool HoldsForbiddenCharacter(const std::string& path) {
    for (const char* character = kForbiddenCharacters; *character != '\0'; ++character) {
        if (FirstForbiddenPosition(path, *character) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void DecodeSpaces(std::string& path) {
    for (auto code = path.find("%20"); code != std::string::npos; code = path.find("%20", code)) {
        path.replace(code, 3, " ");
    }
}

} // namespace

int ValidateOutputRoot(std::string& path) {
    if (path.empty()) {
        return 0;
    }
    if (HoldsForbiddenCharacter(path)) {
        path = vellora::kDefaultOutputRoot;
        return 0;
    }
    DecodeSpaces(path);
    return 1;
}
