// The window class and the hidden window; the window keeps its host object in its user data.
#include "HostWindow.h"

#include "VelloraNames.h"

#include <windows.h>

namespace {

// The host object given at creation; null before the window has one and after it is destroyed.
HostWindow* HostOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    return reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostWindow* host = HostOf(window, message, lParam);
    if (message == WM_DESTROY) {
        // Without its window nothing can reach the host any more, and a host that lives on
        // unseen keeps its program file locked against the uninstaller: end instead.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        host = nullptr;
    }
    if (message < vellora::kFirstHostRequest || host == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return host->HandleHostMessage(message, wParam, lParam);
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

bool HostWindow::CreateHostWindow(HINSTANCE programInstance, const char* windowName,
                                  const char* windowClassName) {
    lstrcpynA(className, windowClassName, sizeof(className) - 1);
    WNDCLASSEXA windowClass = DescribeHostClass(programInstance, className);
    RegisterClassExA(&windowClass);
    // A class this instance registered before counts as success: only its presence matters.
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof(registered);
    if (!GetClassInfoExA(programInstance, className, &registered)) {
        return false;
    }
    launchInProgress = 0;
    window = CreateWindowExA(0, className, windowName, WS_POPUPWINDOW, CW_USEDEFAULT, 0,
                             CW_USEDEFAULT, 0, nullptr, nullptr, programInstance, this);
    if (window == nullptr) {
        return false;
    }
    instance = programInstance;
    return true;
}
