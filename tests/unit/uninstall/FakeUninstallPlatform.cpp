#include "FakeUninstallPlatform.h"

namespace {

int printerObject;
int hostWindowObject;
int runKeyObject;
void* const kPrinterHandle = &printerObject;
HWND__* const kHostWindow = reinterpret_cast<HWND__*>(&hostWindowObject);
HKEY__* const kRunKey = reinterpret_cast<HKEY__*>(&runKeyObject);

} // namespace

FakeUninstallPlatform::FakeUninstallPlatform() {
    files = {std::string(kDriverDirectory) + "\\VelloraH.exe",
             std::string(kDriverDirectory) + "\\VlExProp.exe",
             std::string(kWindowsDirectory) + "\\Vellora.ini",
             Shortcut("Uninstall"),
             Shortcut("UserManual"),
             Shortcut("Output directory")};
    folders = {ProductFolder()};
}

std::string FakeUninstallPlatform::ProductFolder() const {
    return *programsFolder + "\\Vellora 9x\\";
}

std::string FakeUninstallPlatform::Shortcut(const std::string& name) const {
    return ProductFolder() + name + ".lnk";
}

bool FakeUninstallPlatform::OpenPrinterForRemoval(const char* printerName, void** printer) {
    calls.push_back(std::string("OpenPrinter ") + printerName);
    if (!printerPresent) {
        lastError = openError;
        return false;
    }
    ++openPrinters;
    *printer = kPrinterHandle;
    return true;
}

bool FakeUninstallPlatform::DeletePrinterAt(void* printer) {
    calls.push_back(printer == kPrinterHandle ? "DeletePrinter" : "DeletePrinter ?");
    if (!printerDeletable) {
        lastError = deleteError;
        return false;
    }
    printerPresent = false;
    return true;
}

void FakeUninstallPlatform::ClosePrinterHandle(void* printer) {
    calls.push_back(printer == kPrinterHandle ? "ClosePrinter" : "ClosePrinter ?");
    --openPrinters;
    lastError = closeError;
}

std::int32_t FakeUninstallPlatform::LastErrorCode() {
    calls.push_back("LastError");
    return lastError;
}

HWND__* FakeUninstallPlatform::FindTopLevelWindow(const char* className, const char* windowName) {
    calls.push_back(std::string("FindWindow ") + className + " " + windowName);
    return hostRunning ? kHostWindow : nullptr;
}

void FakeUninstallPlatform::PostRequest(HWND__* window, unsigned message) {
    calls.push_back((window == kHostWindow ? "Post " : "Post ? ") + std::to_string(message));
    if (message == 1284) {
        hostRunning = false;
    }
}

void FakeUninstallPlatform::Wait(unsigned milliseconds) {
    calls.push_back("Wait " + std::to_string(milliseconds));
}

std::optional<std::string> FakeUninstallPlatform::PrinterDriverDirectory() {
    calls.push_back("DriverDirectory");
    return driverDirectory;
}

std::optional<std::string> FakeUninstallPlatform::WindowsDirectory() {
    calls.push_back("WindowsDirectory");
    return windowsDirectory;
}

std::optional<std::string> FakeUninstallPlatform::ShellFolderPath(int folderId) {
    calls.push_back("ShellFolder " + std::to_string(folderId));
    return folderId == 2 ? programsFolder : std::nullopt;
}

bool FakeUninstallPlatform::DeleteFileAtPath(const std::string& path) {
    calls.push_back("DeleteFile " + path);
    return heldOpen.count(path) == 1 || (undeletable.count(path) == 0 && files.erase(path) == 1);
}

bool FakeUninstallPlatform::PathExists(const std::string& path) {
    calls.push_back("Exists " + path);
    return files.count(path) == 1 || folders.count(path) == 1;
}

void FakeUninstallPlatform::RemoveFolder(const std::string& path) {
    calls.push_back("RemoveFolder " + path);
    const auto inside = files.lower_bound(path);
    const bool empty = inside == files.end() || inside->compare(0, path.size(), path) != 0;
    if (empty) {
        folders.erase(path);
    }
}

HKEY__* FakeUninstallPlatform::OpenMachineKey(const char* subKey, KeyAccess access) {
    const bool full = access == KeyAccess::Full;
    calls.push_back((full ? "OpenKey " : "OpenKeyToRead ") + std::string(subKey));
    if (!(full ? runKeyOpens : runKeyReadable)) {
        return nullptr;
    }
    ++openKeys;
    return kRunKey;
}

bool FakeUninstallPlatform::QueryValue(HKEY__* key, const char* valueName) {
    calls.push_back((key == kRunKey ? "QueryValue " : "QueryValue ? ") + std::string(valueName));
    return startupValuePresent;
}

bool FakeUninstallPlatform::DeleteValue(HKEY__* key, const char* valueName) {
    calls.push_back((key == kRunKey ? "DeleteValue " : "DeleteValue ? ") + std::string(valueName));
    startupValuePresent = !startupValueDeletable;
    return startupValueDeletable;
}

void FakeUninstallPlatform::CloseKey(HKEY__* key) {
    calls.push_back(key == kRunKey ? "CloseKey" : "CloseKey ?");
    --openKeys;
}
