#include "PathForms.h"

namespace {

char Capital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c) {
    return Capital(c) >= 'A' && Capital(c) <= 'Z';
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsOneByte(const std::string& path, std::size_t at, const LeadByteRule& codePage) {
    return CharacterEnd(path, at, codePage) == at + 1;
}

bool IsDeviceDigit(char c) {
    // The superscript digits of code page 1252, which Windows reads as digits here too.
    return (c >= '1' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

// The name before its first dot or colon, without the spaces before them, as Windows reads a
// device's name.
bool IsDeviceBaseName(std::string base) {
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    for (char& c : base) {
        c = Capital(c);
    }
    static const char* const kDevices[] = {"CON",    "PRN",    "AUX",    "NUL",
                                           "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (base == device) {
            return true;
        }
    }
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           IsDeviceDigit(base[3]);
}

// The start of the file name: after the last one-byte "\" or "/".
std::size_t FileNameStart(const std::string& path, const LeadByteRule& codePage) {
    std::size_t nameStart = 0;
    for (std::size_t at = 0; at < path.size(); at = CharacterEnd(path, at, codePage)) {
        if (IsOneByte(path, at, codePage) && IsSeparator(path[at])) {
            nameStart = at + 1;
        }
    }
    return nameStart;
}

bool IsRefusedInName(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

// "\\.\" and "\\?\" (and "\??\") lead into the system's namespaces of devices and raw paths.
bool NamesSystemNamespace(const std::string& path) {
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[3]) &&
           ((IsSeparator(path[1]) && (path[2] == '.' || path[2] == '?')) ||
            (path[1] == '?' && path[2] == '?'));
}

bool HoldsOnlyPlainFileCharacters(const std::string& path, const LeadByteRule& codePage) {
    const bool driveColon = path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
    for (std::size_t at = 0; at < path.size(); at = CharacterEnd(path, at, codePage)) {
        if (!IsOneByte(path, at, codePage)) {
            continue;
        }
        if (IsRefusedInName(path[at]) || (path[at] == ':' && !(driveColon && at == 1))) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsFullPath(const std::string& path, const LeadByteRule& codePage) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
        return true;
    }
    if (path.size() < 5 || path[0] != '\\' || path[1] != '\\' || NamesSystemNamespace(path)) {
        return false;
    }
    // A server's name, a backslash and a share's name, both of whole characters.
    std::size_t serverEnd = std::string::npos;
    for (std::size_t at = 2; at < path.size(); at = CharacterEnd(path, at, codePage)) {
        if (IsOneByte(path, at, codePage) && path[at] == '\\') {
            serverEnd = at;
            break;
        }
    }
    return serverEnd != std::string::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
           path[serverEnd + 1] != '\\';
}

bool NamesDevice(const std::string& path, const LeadByteRule& codePage) {
    const std::size_t nameStart = FileNameStart(path, codePage);
    std::size_t baseEnd = nameStart;
    while (baseEnd < path.size() && !(IsOneByte(path, baseEnd, codePage) &&
                                      (path[baseEnd] == '.' || path[baseEnd] == ':'))) {
        baseEnd = CharacterEnd(path, baseEnd, codePage);
    }
    return IsDeviceBaseName(path.substr(nameStart, baseEnd - nameStart));
}

bool NamesPlainFile(const std::string& path, const LeadByteRule& codePage) {
    return !path.empty() && !NamesSystemNamespace(path) && !NamesDevice(path, codePage) &&
           HoldsOnlyPlainFileCharacters(path, codePage);
}
