// The window class, the hidden window and the map from window handle to host object.
#include "HostWindow.h"

#include "VelloraNames.h"

#include <map>
#include <windows.h>

namespace {

// Filled with the host's one window right after creation; the window procedure finds the
// object whose handler is to run here.
std::map<HWND, HostWindow*> hostWindows;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        // Without its window nothing can reach the host any more, and a host that lives on
        // unseen keeps its program file locked against the uninstaller: end instead.
        hostWindows.erase(window);
        PostQuitMessage(0);
    }
    if (message < vellora::kFirstHostRequest) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    auto entry = hostWindows.find(window);
    if (entry == hostWindows.end()) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return entry->second->HandleHostMessage(message, wParam, lParam);
}

WNDCLASSEXA DescribeHostClass(HINSTANCE instance, const char* className) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    return windowClass;
}

} // namespace

int HostWindow::CreateHostWindow(HINSTANCE programInstance, const char* windowName,
                                 const char* windowClassName) {
    lstrcpynA(className, windowClassName, sizeof(className) - 1);
    WNDCLASSEXA windowClass = DescribeHostClass(programInstance, className);
    RegisterClassExA(&windowClass);
    // A class this instance registered before counts as success: only its presence matters.
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof(registered);
    if (!GetClassInfoExA(programInstance, className, &registered)) {
        return 0;
    }
    launchInProgress = 0;
    window = CreateWindowExA(0, className, windowName, WS_POPUPWINDOW, CW_USEDEFAULT, 0,
                             CW_USEDEFAULT, 0, nullptr, nullptr, programInstance, nullptr);
    if (window == nullptr) {
        return 0;
    }
    hostWindows.emplace(window, this);
    instance = programInstance;
    return 1;
}
