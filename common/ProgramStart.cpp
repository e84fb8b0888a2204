// The programs' own start-up. None of them reads its command line or its environment, so the
// runtime's start-up code, built for later processors than the programs run on, is left out:
// this runs the static constructors, calls WinMain and ends the process with its result.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand);

namespace {

using Constructor = void (*)();

// The linker gathers the constructors of static objects between these two markers, the first
// entry of the list being its count or -1, the last a null.
extern "C" Constructor __CTOR_LIST__[];

void RunStaticConstructors() {
    Constructor* last = __CTOR_LIST__ + 1;
    while (*last != nullptr) {
        ++last;
    }
    // The linker lists them in reverse order of initialisation.
    for (Constructor* entry = last - 1; entry > __CTOR_LIST__; --entry) {
        (*entry)();
    }
}

int ShowCommandOfStartup() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

} // namespace

extern "C" void WinMainCRTStartup() {
    RunStaticConstructors();
    char emptyCommandLine[] = "";
    ExitProcess(static_cast<UINT>(
        WinMain(GetModuleHandleA(nullptr), nullptr, emptyCommandLine, ShowCommandOfStartup())));
}
