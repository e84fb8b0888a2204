// Stands in for the properties program in the host's tests: it records each start with its
// command line in "<its own path>.log", shows a window "VlExProp stand-in" and ends when that
// window is closed.
#include <windows.h>

#include <string>

namespace {

void RecordStart() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string line = std::string(GetCommandLineA()) + "\n";
    HANDLE log = CreateFileA((std::string(self) + ".log").c_str(), FILE_APPEND_DATA,
                             FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RecordStart();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VlExPropStandIn";
    RegisterClassA(&windowClass);
    CreateWindowA("VlExPropStandIn", "VlExProp stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                  200, 100, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
