// The host's lead-byte rule on Windows: the system's own, for its current ANSI code page.
#include "HostPlatformWin32.h"

#include <windows.h>

bool Win32HostPlatform::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != FALSE;
}
