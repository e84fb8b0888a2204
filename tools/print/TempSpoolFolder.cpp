#include "TempSpoolFolder.h"

#include "VelloraNames.h"

#include <windows.h>

namespace vlprint {

namespace {

constexpr const char* kSpoolFolderName = "VelloraSpool";

} // namespace

TempSpoolFolder::TempSpoolFolder() {
    char temporary[vellora::kPathBufferSize] = "";
    const DWORD length = GetTempPathA(sizeof(temporary), temporary);
    if (length == 0 || length >= sizeof(temporary)) {
        return;
    }
    std::string path = temporary;
    if (path.back() != '\\') {
        path += '\\';
    }
    path += kSpoolFolderName;
    if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
        folder = path;
    }
}

TempSpoolFolder::~TempSpoolFolder() {
    if (Ready()) {
        RemoveDirectoryA(folder.c_str());
    }
}

std::string TempSpoolFolder::PathFor(std::size_t index) const {
    return folder + "\\VlPrint-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(index + 1);
}

bool TempSpoolFolder::Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && complete;
}

bool TempSpoolFolder::Exists(const std::string& path) const {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TempSpoolFolder::Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

} // namespace vlprint
