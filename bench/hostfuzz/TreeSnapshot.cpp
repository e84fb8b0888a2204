#include "TreeSnapshot.h"

#include <windows.h>

#include <cctype>

namespace bench {

namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool IsDotEntry(const char* name) {
    return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0;
}

// A link (the user folders lead to the home folder of the machine underneath) counts only by
// its presence: what lies behind it is no part of the drive.
bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::string Lowered(std::string text) {
    for (char& character : text) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    return text;
}

// "C:\vtest\fuzz" -> "c:\vtest"
std::string TopFolder(const std::string& path) {
    const auto second = path.find('\\', 3);
    return Lowered(second == std::string::npos ? path : path.substr(0, second));
}

} // namespace

TreeSnapshot TreeSnapshot::OfDriveExcept(const std::string& drive, const std::string& testFolder) {
    TreeSnapshot snapshot;
    const std::string excluded = TopFolder(testFolder);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((drive + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return snapshot;
    }
    do {
        const std::string path = drive + "\\" + entry.cFileName;
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder && !IsDotEntry(entry.cFileName) && Lowered(path) != excluded) {
            snapshot.AddTree(path);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return snapshot;
}

void TreeSnapshot::AddTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (IsDotEntry(entry.cFileName)) {
            continue;
        }
        const std::string path = folder + "\\" + entry.cFileName;
        if (IsLink(entry.dwFileAttributes)) {
            entries[path] = {0, 0};
            continue;
        }
        entries[path] = {
            Combine(entry.nFileSizeHigh, entry.nFileSizeLow),
            Combine(entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime)};
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            AddTree(path);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

std::vector<std::string> TreeSnapshot::ChangedSince(const TreeSnapshot& earlier) const {
    std::vector<std::string> changed;
    for (const auto& [path, entry] : entries) {
        const auto before = earlier.entries.find(path);
        if (before == earlier.entries.end() || before->second != entry) {
            changed.push_back(path);
        }
    }
    for (const auto& [path, entry] : earlier.entries) {
        if (entries.count(path) == 0) {
            changed.push_back(path);
        }
    }
    return changed;
}

} // namespace bench
