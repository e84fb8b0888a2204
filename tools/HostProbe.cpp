// HostProbe.exe: waits for the host's window "VelloraHost" and checks that it answers a
// request, as the driver would reach it. Exit code 0 when it answers, 1 otherwise.
#include "VelloraNames.h"

#include <windows.h>

#include <cstdio>

namespace {

HWND WaitForHostWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(nullptr, vellora::kHostWindowName);
        if (window || GetTickCount() - start >= timeoutMs) {
            return window;
        }
        Sleep(50);
    }
}

} // namespace

int main() {
    HWND window = WaitForHostWindow(30000);
    if (!window) {
        std::fprintf(stderr, "No window \"%s\" found: the host is not running.\n",
                     vellora::kHostWindowName);
        return 1;
    }
    // A request number the host does not use: it must come back with 0 and change nothing.
    DWORD_PTR result = 1;
    const unsigned probe = vellora::HM_PLACE_OUTPUT + 1;
    if (!SendMessageTimeoutA(window, probe, 0, 0, SMTO_NORMAL, 5000, &result) || result != 0) {
        std::fprintf(stderr, "The window \"%s\" did not answer.\n", vellora::kHostWindowName);
        return 1;
    }
    char className[256] = "";
    GetClassNameA(window, className, sizeof(className));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::printf("The window \"%s\" (class \"%s\", process %lu) answers.\n",
                vellora::kHostWindowName, className, processId);
    return 0;
}
