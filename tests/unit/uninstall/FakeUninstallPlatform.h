// A machine for the uninstall procedure to work on: a printer, a host window, files, folders
// and a start-up value, with every platform call recorded in order.
#pragma once

#include "UninstallPlatform.h"

#include <set>
#include <string>
#include <vector>

class FakeUninstallPlatform : public UninstallPlatform {
  public:
    static constexpr const char* kDriverDirectory = "C:\\WINDOWS\\SYSTEM\\spool\\drivers\\w32x86";
    static constexpr const char* kWindowsDirectory = "C:\\WINDOWS";
    static constexpr const char* kProgramsFolder = "C:\\WINDOWS\\Start Menu\\Programs";

    // A complete installation with the host running.
    FakeUninstallPlatform();

    std::string ProductFolder() const;
    std::string Shortcut(const std::string& name) const;

    bool printerPresent = true;
    bool printerDeletable = true;
    std::int32_t openError = 1801;
    std::int32_t deleteError = 5;
    // The last-error code that closing the printer leaves behind.
    std::int32_t closeError = 0;
    bool hostRunning = true;
    std::optional<std::string> driverDirectory = kDriverDirectory;
    std::optional<std::string> windowsDirectory = kWindowsDirectory;
    std::optional<std::string> programsFolder = kProgramsFolder;
    bool runKeyOpens = true;
    bool runKeyReadable = true;
    bool startupValuePresent = true;
    bool startupValueDeletable = true;

    std::set<std::string> files;
    // Files that are there and refuse to be deleted (read-only, in use).
    std::set<std::string> undeletable;
    // Files that another program holds open with delete sharing: deleting one succeeds, and it
    // stays.
    std::set<std::string> heldOpen;
    std::set<std::string> folders;
    std::vector<std::string> calls;
    // Handles opened and not yet closed.
    int openPrinters = 0;
    int openKeys = 0;

    bool OpenPrinterForRemoval(const char* printerName, void** printer) override;
    bool DeletePrinterAt(void* printer) override;
    void ClosePrinterHandle(void* printer) override;
    std::int32_t LastErrorCode() override;
    HWND__* FindTopLevelWindow(const char* className, const char* windowName) override;
    void PostRequest(HWND__* window, unsigned message) override;
    void Wait(unsigned milliseconds) override;
    std::optional<std::string> PrinterDriverDirectory() override;
    std::optional<std::string> WindowsDirectory() override;
    std::optional<std::string> ShellFolderPath(int folderId) override;
    bool DeleteFileAtPath(const std::string& path) override;
    bool PathExists(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    HKEY__* OpenMachineKey(const char* subKey, KeyAccess access) override;
    bool QueryValue(HKEY__* key, const char* valueName) override;
    bool DeleteValue(HKEY__* key, const char* valueName) override;
    void CloseKey(HKEY__* key) override;

  private:
    std::int32_t lastError = 0;
};
