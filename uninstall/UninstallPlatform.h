// The platform calls of the uninstall procedure, one per call it makes. The program uses the
// Win32 implementation; the unit tests put a recording stand-in in its place, so that the order
// of the procedure and every failure can be checked without Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct HWND__;
struct HKEY__;

// How a registry key is opened: to change its values, or only to read them.
enum class KeyAccess { Full, Read };

class UninstallPlatform {
  public:
    UninstallPlatform() = default;
    virtual ~UninstallPlatform() = default;
    UninstallPlatform(const UninstallPlatform&) = delete;
    UninstallPlatform& operator=(const UninstallPlatform&) = delete;

    // Print spooler: open with full access (no data type, no device mode), delete, close. A
    // handle that was opened is closed exactly once.
    virtual bool OpenPrinterForRemoval(const char* printerName, void** printer) = 0;
    virtual bool DeletePrinterAt(void* printer) = 0;
    virtual void ClosePrinterHandle(void* printer) = 0;
    // The calling thread's last-error code, as the signed number the log shows.
    virtual std::int32_t LastErrorCode() = 0;

    // The top-level window of this class with this window name, or null.
    virtual HWND__* FindTopLevelWindow(const char* className, const char* windowName) = 0;
    // Posts the message with wParam and lParam 0; whether it was queued does not matter.
    virtual void PostRequest(HWND__* window, unsigned message) = 0;
    virtual void Wait(unsigned milliseconds) = 0;

    // Folder paths without a trailing backslash; nothing when the system cannot tell them or
    // they do not fit a path buffer.
    virtual std::optional<std::string> PrinterDriverDirectory() = 0;
    virtual std::optional<std::string> WindowsDirectory() = 0;
    virtual std::optional<std::string> ShellFolderPath(int folderId) = 0;
    virtual bool DeleteFileAtPath(const std::string& path) = 0;
    // Whether a file or folder is at the path, also one marked for deletion.
    virtual bool PathExists(const std::string& path) = 0;
    // Removes the folder if it is empty.
    virtual void RemoveFolder(const std::string& path) = 0;

    // A key under HKEY_LOCAL_MACHINE opened with full access or to read, or null.
    virtual HKEY__* OpenMachineKey(const char* subKey, KeyAccess access) = 0;
    // Whether the value exists.
    virtual bool QueryValue(HKEY__* key, const char* valueName) = 0;
    // Whether the value was deleted.
    virtual bool DeleteValue(HKEY__* key, const char* valueName) = 0;
    virtual void CloseKey(HKEY__* key) = 0;
};
