// An installation of the printer "Vellora 9x" as the setup tool makes it, and what is left of
// it: the printer, the program files, the settings file, the start-up value, the Start-menu
// items and the running host.
#pragma once

#include <windows.h>

#include <string>

namespace installation {

// Runs VlSetup.exe with the arguments and returns its exit code; -1 when it did not end in time.
int RunSetup(const std::string& arguments);
// Ends every host and removes every item, so that a test starts on a clean machine.
void RemoveEverything();

std::string HostFile();
std::string PropertiesFile();
std::string SettingsFile();
std::string ProductFolder();
std::string Shortcut(const std::string& name);

// 0 when the printer opens with full access, else the last-error code of the attempt.
DWORD PrinterOpenError();
bool StartupValueExists(const char* valueName = "VelloraHost");
bool WriteStartupValue(const char* valueName, const std::string& data);
// The target a shortcut file points at; empty when it is no shortcut.
std::string ShortcutTarget(const std::string& shortcutPath);

// A running host, watched through its process so that its end can be told.
class RunningHost {
  public:
    RunningHost();
    ~RunningHost();
    RunningHost(const RunningHost&) = delete;
    RunningHost& operator=(const RunningHost&) = delete;

    bool Found() const { return process != nullptr; }
    bool Ended(DWORD timeoutMs) const;

  private:
    HANDLE process = nullptr;
};

} // namespace installation
