// The host object: one per hidden window, holding the state that the driver's requests build up.
// Kept free of <windows.h> so that the request logic is tested natively; the handles are the
// platform's opaque handle types, declared here only by name.
#pragma once

#include <cstdint>
#include <string>

struct HWND__;
struct HINSTANCE__;

class HostWindow {
  public:
    HostWindow() = default;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Registers the window class, creates the hidden window and enters it in the window map.
    // Returns 1 on success, 0 when the class or the window could not be had.
    int CreateHostWindow(HINSTANCE__* programInstance, const char* windowName,
                         const char* windowClassName);

    // Every message numbered 1024 or higher that reaches this object's window.
    std::int32_t HandleHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    HWND__* window = nullptr;
    HINSTANCE__* instance = nullptr;
    char className[256] = "";
    int launchInProgress = 0;
    std::string outputRoot;
    std::string targetPath;
    std::string nameSuffix;
};
