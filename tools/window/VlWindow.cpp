// VlWindow.exe: finds and presses the windows of the programs for demos and screenshots, so
// that a shell script can drive a dialog step by step. Every wait ends after 30 seconds.
//
//   VlWindow wait CAPTION       waits for a visible window with this caption and prints its
//                               frame as WIDTHxHEIGHT+X+Y (screen pixels)
//   VlWindow wait-box CAPTION   the same for a message box with this caption
//   VlWindow press CAPTION ID   posts WM_COMMAND ID (1 OK, 2 Cancel, 6 Yes, 7 No) to the
//                               topmost visible window with this caption
//
// Exit code 0 when the window was there, 1 when it was not, 2 on a command-line error. An
// owned window lies above its owner, so a message box is found before the dialog it belongs to.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 30000;
// The text control of a message box.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK TakeFirstWithCaption(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    if (IsWindowVisible(window) && std::strcmp(text, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The topmost visible top-level window with the caption, or null.
HWND TopmostWithCaption(const char* caption) {
    Search search{caption, nullptr};
    EnumWindows(TakeFirstWithCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitFor(const char* caption, bool messageBox) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = TopmostWithCaption(caption);
        if (window && (!messageBox || GetDlgItem(window, kMessageBoxTextId))) {
            return window;
        }
        if (GetTickCount() - start >= kTimeoutMs) {
            return nullptr;
        }
        Sleep(50);
    }
}

int PrintFrame(HWND window) {
    if (!window) {
        return 1;
    }
    // Give the window the time to paint before a picture is taken of it.
    Sleep(500);
    RECT frame;
    GetWindowRect(window, &frame);
    std::printf("%ldx%ld+%ld+%ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left,
                frame.top);
    return 0;
}

int Press(const char* caption, const char* id) {
    HWND window = WaitFor(caption, false);
    if (!window) {
        return 1;
    }
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(std::atoi(id)), 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (argc == 3 && command == "wait") {
        return PrintFrame(WaitFor(argv[2], false));
    }
    if (argc == 3 && command == "wait-box") {
        return PrintFrame(WaitFor(argv[2], true));
    }
    if (argc == 4 && command == "press") {
        return Press(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: VlWindow wait CAPTION | wait-box CAPTION | press CAPTION ID\n");
    return 2;
}
