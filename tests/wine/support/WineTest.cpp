#include "WineTest.h"

#include <winspool.h>

#include <algorithm>
#include <thread>

namespace winetest {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(pollMs);
    }
}

std::string BinPath(const std::string& fileName) {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("VELLORA_BIN_DIR", folder, sizeof(folder));
    return std::string(folder) + "\\" + fileName;
}

Process::Process(const std::string& commandLine) : Process(std::string(), commandLine) {}

Process::Process(const std::string& application, const std::string& commandLine,
                 const std::string& currentFolder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr,
                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        info = {};
    }
}

Process::~Process() {
    if (!Started()) {
        return;
    }
    if (Running()) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool Process::WaitForExit(DWORD timeoutMs) {
    return Started() && WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Process::Running() const {
    return Started() && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

namespace {

struct WindowQuery {
    const char* className;
    const char* windowName;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    char text[512] = "";
    if (query->className) {
        GetClassNameA(window, text, sizeof(text));
        if (lstrcmpA(text, query->className) != 0) {
            return TRUE;
        }
    }
    if (query->windowName) {
        GetWindowTextA(window, text, sizeof(text));
        if (lstrcmpA(text, query->windowName) != 0) {
            return TRUE;
        }
    }
    if (query->processId) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query->processId) {
            return TRUE;
        }
    }
    query->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> FindTopLevelWindows(const char* className, const char* windowName,
                                      DWORD processId) {
    WindowQuery query{className, windowName, processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(const char* className, const char* windowName, DWORD processId,
                   DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            auto found = FindTopLevelWindows(className, windowName, processId);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

HWND WaitForDialog(const char* caption, DWORD timeoutMs) {
    return WaitForWindow("#32770", caption, 0, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

std::string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::string();
}

std::string MessageBoxText(HWND box) {
    return DialogItemText(box, 0xFFFF);
}

std::string AnswerMessageBox(const char* caption, int button, DWORD timeoutMs) {
    HWND box = WaitForDialog(caption, timeoutMs);
    if (!box) {
        return std::string();
    }
    // The text control is filled while the box is set up: wait until it holds something.
    std::string text;
    WaitUntil([&] { return !(text = MessageBoxText(box)).empty(); }, 2000);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitForWindowGone(box, timeoutMs);
    return text;
}

LRESULT SendWithDeadline(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::future<LRESULT> SendAsync(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               DWORD timeoutMs) {
    return std::async(std::launch::async,
                      [=] { return SendWithDeadline(window, message, wParam, lParam, timeoutMs); });
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        text.append(chunk, read);
    }
    CloseHandle(file);
    return text;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return ok;
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != 0;
}

std::string FreshFolder(const std::string& name) {
    CreateDirectoryA("C:\\vtest", nullptr);
    const std::string path = "C:\\vtest\\" + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string PrinterDriverDirectory() {
    char path[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(path), sizeof(path),
                               &needed);
    return path;
}

std::string WindowsDirectory() {
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, sizeof(path));
    return path;
}

} // namespace winetest
