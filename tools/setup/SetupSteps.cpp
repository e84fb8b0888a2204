#include "SetupSteps.h"

#include "SettingsFilePath.h"
#include "SettingsRules.h"
#include "VelloraNames.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winspool.h>

#include <cstdio>

namespace {

// Placeholder driver files: the spooler needs files to register a driver, not working ones.
constexpr const char* kDriverFile = "VelloraDrv.dll";
constexpr const char* kDriverDataFile = "VelloraDrv.dat";
// Where the installation would put the manual; the shortcut may point at a missing file.
constexpr const char* kManualFile = "UserManual.txt";
constexpr const char* kUninstallProgram = "Uninstall.exe";
constexpr DWORD kHostStartTimeoutMs = 30000;

std::string Join(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

bool Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "VlSetup: %s %s failed, error %lu\n", what, detail.c_str(),
                 GetLastError());
    return false;
}

bool Done(const char* what, const std::string& detail) {
    std::printf("%s %s\n", what, detail.c_str());
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WritePlaceholder(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const char text[] = "placeholder of the Vellora 9x printer driver\r\n";
    DWORD written = 0;
    const bool ok = WriteFile(file, text, sizeof(text) - 1, &written, nullptr) != FALSE;
    CloseHandle(file);
    return ok;
}

bool PrinterExists() {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(vellora::kPrinterName), &printer, &defaults)) {
        return false;
    }
    ClosePrinter(printer);
    return true;
}

bool AddDriver(const std::string& driverDirectory) {
    const std::string driverPath = Join(driverDirectory, kDriverFile);
    const std::string dataPath = Join(driverDirectory, kDriverDataFile);
    if (!WritePlaceholder(driverPath) || !WritePlaceholder(dataPath)) {
        return Fail("writing the placeholder driver files in", driverDirectory);
    }
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(vellora::kPrinterName);
    driver.pDriverPath = const_cast<char*>(driverPath.c_str());
    driver.pDataFile = const_cast<char*>(dataPath.c_str());
    driver.pConfigFile = const_cast<char*>(driverPath.c_str());
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        return Fail("adding the printer driver", vellora::kPrinterName);
    }
    return true;
}

bool AddVelloraPrinter() {
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(vellora::kPrinterName);
    info.pPortName = const_cast<char*>("FILE:");
    info.pDriverName = const_cast<char*>(vellora::kPrinterName);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
        return Fail("adding the printer", vellora::kPrinterName);
    }
    ClosePrinter(printer);
    return Done("added the printer", vellora::kPrinterName);
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
    return wide;
}

bool SaveShortcut(IShellLinkA* link, const std::string& shortcutPath) {
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        return false;
    }
    const bool saved = SUCCEEDED(file->Save(Wide(shortcutPath).c_str(), TRUE));
    file->Release();
    return saved;
}

bool CreateShortcut(const std::string& shortcutPath, const std::string& target) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return Fail("creating the shortcut", shortcutPath);
    }
    link->SetPath(target.c_str());
    const bool saved = SaveShortcut(link, shortcutPath);
    link->Release();
    return saved ? Done("created the shortcut", shortcutPath + " -> " + target)
                 : Fail("saving the shortcut", shortcutPath);
}

std::string ProductFolder() {
    return Join(ProgramsFolder(), vellora::kStartMenuFolder);
}

std::string ShortcutPath(const char* name) {
    return Join(ProductFolder(), std::string(name) + "." + vellora::kShortcutExtension);
}

bool StartupValueExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, vellora::kStartupKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool exists = RegQueryValueExA(key, vellora::kStartupValue, nullptr, nullptr, nullptr,
                                         nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

void PrintItem(bool present, const std::string& what) {
    std::printf("%-8s %s\n", present ? "present" : "absent", what.c_str());
}

} // namespace

std::string ToolFolder() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return std::string();
    }
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\'));
}

std::string ProgramsFolder() {
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, TRUE)) {
        return std::string();
    }
    return path;
}

bool CopyPrograms(const std::string& sourceFolder, const std::string& driverDirectory) {
    bool copied = true;
    for (const char* program : {vellora::kHostProgramFile, vellora::kPropertiesProgramFile}) {
        const std::string source = Join(sourceFolder, program);
        const std::string target = Join(driverDirectory, program);
        copied = (CopyFileA(source.c_str(), target.c_str(), FALSE)
                      ? Done("copied", source + " to " + target)
                      : Fail("copying", source + " to " + target)) &&
                 copied;
    }
    return copied;
}

bool InstallPrinter(const std::string& driverDirectory) {
    if (PrinterExists()) {
        return Done("kept the printer", vellora::kPrinterName);
    }
    return AddDriver(driverDirectory) && AddVelloraPrinter();
}

bool WriteSettingsFile(const std::string& windowsDirectory) {
    const std::optional<std::string> path = SettingsFilePath(windowsDirectory);
    if (!path) {
        std::fprintf(stderr, "VlSetup: no path for %s in the Windows directory \"%s\"\n",
                     vellora::kSettingsFile, windowsDirectory.c_str());
        return false;
    }
    for (const SettingKey& setting : kSettingKeys) {
        if (!WritePrivateProfileStringA(vellora::kSettingsSection, setting.key,
                                        setting.defaultValue, path->c_str())) {
            return Fail("writing the settings file", *path);
        }
    }
    return Done("wrote the default settings to", *path);
}

bool WriteStartupValue(const std::string& driverDirectory) {
    const std::string host = Join(driverDirectory, vellora::kHostProgramFile);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, vellora::kStartupKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return Fail("opening the key", vellora::kStartupKey);
    }
    const LONG status = RegSetValueExA(key, vellora::kStartupValue, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(host.c_str()),
                                       static_cast<DWORD>(host.size() + 1));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return Fail("writing the start-up value", vellora::kStartupValue);
    }
    return Done("wrote the start-up value", std::string(vellora::kStartupValue) + " = " + host);
}

bool CreateStartMenuItems(const std::string& sourceFolder, const std::string& driverDirectory) {
    if (ProgramsFolder().empty()) {
        return Fail("finding", "the Programs folder");
    }
    const std::string folder = ProductFolder();
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return Fail("creating the folder", folder);
    }
    CreateDirectoryA(vellora::kDefaultOutputRoot, nullptr);
    const std::string targets[] = {Join(sourceFolder, kUninstallProgram),
                                   Join(driverDirectory, kManualFile), vellora::kDefaultOutputRoot};
    bool created = true;
    for (size_t i = 0; i < std::size(targets); ++i) {
        created = CreateShortcut(ShortcutPath(vellora::kShortcutNames[i]), targets[i]) && created;
    }
    return created;
}

bool StartHost(const std::string& driverDirectory) {
    if (FindWindowA(nullptr, vellora::kHostWindowName)) {
        return Done("the host runs already:", vellora::kHostWindowName);
    }
    const std::string host = Join(driverDirectory, vellora::kHostProgramFile);
    std::string commandLine = "\"" + host + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(host.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        driverDirectory.c_str(), &startup, &process)) {
        return Fail("starting", host);
    }
    CloseHandle(process.hThread);
    const DWORD start = GetTickCount();
    bool ready = false;
    while (!ready && GetTickCount() - start < kHostStartTimeoutMs &&
           WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        ready = FindWindowA(nullptr, vellora::kHostWindowName) != nullptr;
    }
    CloseHandle(process.hProcess);
    return ready ? Done("started the host", host) : Fail("waiting for the window of", host);
}

void PrintStatus() {
    const std::string driverDirectory = PrinterDriverDirectory();
    PrintItem(PrinterExists(), std::string("printer \"") + vellora::kPrinterName + "\"");
    PrintItem(Exists(Join(driverDirectory, vellora::kHostProgramFile)),
              Join(driverDirectory, vellora::kHostProgramFile));
    PrintItem(Exists(Join(driverDirectory, vellora::kPropertiesProgramFile)),
              Join(driverDirectory, vellora::kPropertiesProgramFile));
    const std::optional<std::string> settingsFile = SettingsFilePath(WindowsDirectory());
    PrintItem(settingsFile && Exists(*settingsFile), settingsFile.value_or(vellora::kSettingsFile));
    PrintItem(StartupValueExists(), std::string("start-up value \"") + vellora::kStartupValue +
                                        "\" in HKEY_LOCAL_MACHINE\\" + vellora::kStartupKey);
    PrintItem(Exists(ProductFolder()), ProductFolder());
    for (const char* name : vellora::kShortcutNames) {
        PrintItem(Exists(ShortcutPath(name)), ShortcutPath(name));
    }
    PrintItem(FindWindowA(nullptr, vellora::kHostWindowName) != nullptr,
              std::string("host window \"") + vellora::kHostWindowName + "\"");
}
