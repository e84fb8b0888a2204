#include "Installation.h"

#include "VelloraNames.h"
#include "WineTest.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winspool.h>

namespace installation {

namespace {

constexpr DWORD kSetupTimeoutMs = 60000;

std::string ProgramsFolder() {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

void EndAllHosts() {
    for (HWND window :
         winetest::FindTopLevelWindows(vellora::kHostWindowClass, vellora::kHostWindowName)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        if (process) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

void DeletePrinterIfPresent() {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterA(const_cast<char*>(vellora::kPrinterName), &printer, &defaults)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

void DeleteStartupValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, vellora::kStartupKey, 0, KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(key, vellora::kStartupValue);
        RegCloseKey(key);
    }
}

} // namespace

int RunSetup(const std::string& arguments) {
    winetest::Process setup("\"" + winetest::BinPath("VlSetup.exe") + "\" " + arguments);
    if (!setup.WaitForExit(kSetupTimeoutMs)) {
        return -1;
    }
    return static_cast<int>(setup.ExitCode());
}

void RemoveEverything() {
    EndAllHosts();
    DeletePrinterIfPresent();
    DeleteFileA(HostFile().c_str());
    DeleteFileA(PropertiesFile().c_str());
    DeleteFileA(SettingsFile().c_str());
    DeleteStartupValue();
    winetest::RemoveTree(ProductFolder());
}

std::string HostFile() {
    return winetest::PrinterDriverDirectory() + "\\" + vellora::kHostProgramFile;
}

std::string PropertiesFile() {
    return winetest::PrinterDriverDirectory() + "\\" + vellora::kPropertiesProgramFile;
}

std::string SettingsFile() {
    return winetest::WindowsDirectory() + "\\" + vellora::kSettingsFile;
}

std::string ProductFolder() {
    return ProgramsFolder() + "\\" + vellora::kStartMenuFolder;
}

std::string Shortcut(const std::string& name) {
    return ProductFolder() + "\\" + name + ".lnk";
}

DWORD PrinterOpenError() {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(vellora::kPrinterName), &printer, &defaults)) {
        return GetLastError();
    }
    ClosePrinter(printer);
    return 0;
}

bool StartupValueExists(const char* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, vellora::kStartupKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool exists =
        RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

bool WriteStartupValue(const char* valueName, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, vellora::kStartupKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool written =
        RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

std::string ShortcutTarget(const std::string& shortcutPath) {
    CoInitialize(nullptr);
    std::string target;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, shortcutPath.c_str(), -1, path, MAX_PATH);
        char buffer[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(path, STGM_READ)) &&
            SUCCEEDED(link->GetPath(buffer, sizeof(buffer), nullptr, SLGP_RAWPATH))) {
            target = buffer;
        }
    }
    if (file) {
        file->Release();
    }
    if (link) {
        link->Release();
    }
    CoUninitialize();
    return target;
}

RunningHost::RunningHost() {
    HWND window = winetest::WaitForWindow(nullptr, vellora::kHostWindowName);
    DWORD processId = 0;
    if (window && GetWindowThreadProcessId(window, &processId)) {
        process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    }
}

RunningHost::~RunningHost() {
    if (process) {
        TerminateProcess(process, 99);
        CloseHandle(process);
    }
}

bool RunningHost::Ended(DWORD timeoutMs) const {
    return process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

} // namespace installation
