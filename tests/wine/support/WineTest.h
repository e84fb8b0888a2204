// Helpers for the tests, and the benchmark programs, that drive the real programs under Wine:
// processes, windows, message boxes and files. Every wait polls with a deadline; nothing here
// can hang a test.
#pragma once

#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

namespace winetest {

constexpr DWORD kDefaultTimeoutMs = 15000;

// Polls the condition every pollMs until it holds or the deadline passes. A benchmark that
// times the wait polls every millisecond; a test has no need to.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs,
               DWORD pollMs = 20);

// Full Windows path of a program built beside the tests (VELLORA_BIN_DIR).
std::string BinPath(const std::string& fileName);

// A started program; ended by force when the object goes away while it still runs. An empty
// application is taken from the command line; an empty current folder is the caller's.
class Process {
  public:
    explicit Process(const std::string& commandLine);
    Process(const std::string& application, const std::string& commandLine,
            const std::string& currentFolder = std::string());
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
    bool Running() const;
    DWORD ExitCode() const;
    DWORD Id() const { return info.dwProcessId; }
    HANDLE Handle() const { return info.hProcess; }

  private:
    PROCESS_INFORMATION info = {};
};

// Top-level windows with the given class and/or name (null for any) that belong to a process
// (0 for any).
std::vector<HWND> FindTopLevelWindows(const char* className, const char* windowName,
                                      DWORD processId = 0);
// Polls for such a window; null when none appeared in time.
HWND WaitForWindow(const char* className, const char* windowName, DWORD processId = 0,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// A dialog or message box (class #32770) with this caption.
HWND WaitForDialog(const char* caption, DWORD timeoutMs = kDefaultTimeoutMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

std::string WindowText(HWND window);
std::string DialogItemText(HWND dialog, int id);
// The text of a message box: its static control 0xFFFF.
std::string MessageBoxText(HWND box);

// Waits for a box with the caption, reads its text, presses the button; text empty on timeout.
std::string AnswerMessageBox(const char* caption, int button, DWORD timeoutMs = kDefaultTimeoutMs);

// Sends a message from a thread of its own so that the caller can answer the boxes the handler
// opens. The result is the handler's, or -1 when the window did not answer within the deadline.
std::future<LRESULT> SendAsync(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               DWORD timeoutMs = 60000);
// Synchronous send with a deadline; -1 when the window did not answer in time.
LRESULT SendWithDeadline(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         DWORD timeoutMs = kDefaultTimeoutMs);

// Files and folders.
bool FileExists(const std::string& path);
std::string ReadFileText(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);
// The names in a folder, files and folders, sorted; empty when there is no such folder.
std::vector<std::string> FolderListing(const std::string& folder);
// A new, empty folder C:\vtest\<name> (removed first, with its contents, if it exists).
std::string FreshFolder(const std::string& name);
bool RemoveTree(const std::string& path);

// The printer-driver directory and the Windows directory, as the programs see them.
std::string PrinterDriverDirectory();
std::string WindowsDirectory();

} // namespace winetest
