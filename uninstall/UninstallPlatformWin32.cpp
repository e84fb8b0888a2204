#include "UninstallPlatformWin32.h"

#include "UninstallProcedure.h"
#include "WindowsPaths.h"

#include <windows.h>

#include <shlobj.h>
#include <winspool.h>

static_assert(kProgramsFolderId == CSIDL_PROGRAMS, "the Programs folder's number");

bool Win32UninstallPlatform::OpenPrinterForRemoval(const char* printerName, void** printer) {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName), &handle, &defaults)) {
        return false;
    }
    *printer = handle;
    return true;
}

bool Win32UninstallPlatform::DeletePrinterAt(void* printer) {
    return DeletePrinter(printer) != FALSE;
}

void Win32UninstallPlatform::ClosePrinterHandle(void* printer) {
    ClosePrinter(printer);
}

std::int32_t Win32UninstallPlatform::LastErrorCode() {
    return static_cast<std::int32_t>(GetLastError());
}

HWND Win32UninstallPlatform::FindTopLevelWindow(const char* className, const char* windowName) {
    return FindWindowA(className, windowName);
}

void Win32UninstallPlatform::PostRequest(HWND window, unsigned message) {
    PostMessageA(window, message, 0, 0);
}

void Win32UninstallPlatform::Wait(unsigned milliseconds) {
    Sleep(milliseconds);
}

namespace {

std::optional<std::string> Known(std::string folder) {
    return folder.empty() ? std::nullopt : std::optional<std::string>(std::move(folder));
}

} // namespace

std::optional<std::string> Win32UninstallPlatform::PrinterDriverDirectory() {
    return Known(::PrinterDriverDirectory());
}

std::optional<std::string> Win32UninstallPlatform::WindowsDirectory() {
    return Known(::WindowsDirectory());
}

std::optional<std::string> Win32UninstallPlatform::ShellFolderPath(int folderId) {
    LPITEMIDLIST folder = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &folder))) {
        return std::nullopt;
    }
    char path[MAX_PATH] = "";
    const bool resolved = SHGetPathFromIDListA(folder, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(folder);
        allocator->Release();
    }
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(path);
}

bool Win32UninstallPlatform::DeleteFileAtPath(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32UninstallPlatform::PathExists(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // NT refuses even a look at a file that is marked for deletion while another program holds
    // it open (access denied): it is still there.
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

void Win32UninstallPlatform::RemoveFolder(const std::string& path) {
    RemoveDirectoryA(path.c_str());
}

HKEY Win32UninstallPlatform::OpenMachineKey(const char* subKey, KeyAccess access) {
    const REGSAM rights = access == KeyAccess::Full ? KEY_ALL_ACCESS : KEY_QUERY_VALUE;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, rights, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

bool Win32UninstallPlatform::QueryValue(HKEY key, const char* valueName) {
    BYTE data[MAX_PATH];
    DWORD size = sizeof(data);
    const LONG status = RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size);
    // A value longer than the buffer exists all the same, and it is ours to remove.
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

bool Win32UninstallPlatform::DeleteValue(HKEY key, const char* valueName) {
    return RegDeleteValueA(key, valueName) == ERROR_SUCCESS;
}

void Win32UninstallPlatform::CloseKey(HKEY key) {
    RegCloseKey(key);
}
