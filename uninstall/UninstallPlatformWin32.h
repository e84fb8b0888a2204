// The uninstall procedure's platform calls on Windows.
#pragma once

#include "UninstallPlatform.h"

class Win32UninstallPlatform final : public UninstallPlatform {
  public:
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
};
