// VelloraH.exe: the resident host with its hidden window "VelloraHost".
#include "HostPlatformWin32.h"
#include "HostWindow.h"

#include "VelloraNames.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Win32HostPlatform platform;
    HostWindow host(platform);
    if (!host.CreateHostWindow(instance, vellora::kHostWindowName, vellora::kHostWindowClass)) {
        // No window means no driver can reach this host: do not run a loop nobody can end.
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
