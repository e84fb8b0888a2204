// QuickExit.exe: stands in for the properties program while the host is fuzzed, so that request
// 1287, which waits until the program has ended, never waits for a user.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
