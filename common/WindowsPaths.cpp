#include "WindowsPaths.h"

#include "PathBuffer.h"
#include "VelloraNames.h"

#include <winspool.h>

#include <vector>

static_assert(vellora::kPathBufferSize == MAX_PATH, "path buffers hold MAX_PATH characters");

namespace {

// Both calls give the length without the terminator, or the size needed when the buffer is too
// small. A folder that does not fit a path buffer leaves no room for a file in it anyway.
std::string AskWithPathBuffer(UINT(WINAPI* ask)(LPSTR, UINT)) {
    char path[vellora::kPathBufferSize] = "";
    const UINT length = ask(path, sizeof(path));
    return length < sizeof(path) ? std::string(path, length) : std::string();
}

BOOL AskSpooler(BYTE* buffer, DWORD size, DWORD& needed) {
    static const auto getDirectory = SystemFunction<decltype(&GetPrinterDriverDirectoryA)>(
        "winspool.drv", "GetPrinterDriverDirectoryA");
    return getDirectory ? getDirectory(nullptr, nullptr, 1, buffer, size, &needed) : FALSE;
}

} // namespace

std::string WindowsDirectory() {
    return AskWithPathBuffer(GetWindowsDirectoryA);
}

std::string SystemDirectory() {
    return AskWithPathBuffer(GetSystemDirectoryA);
}

// Asked for with a path buffer first, as every spooler takes it; a larger buffer only when the
// spooler says that it needs one.
std::string PrinterDriverDirectory() {
    std::vector<BYTE> buffer(MAX_PATH, 0);
    DWORD needed = 0;
    if (!AskSpooler(buffer.data(), MAX_PATH, needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= MAX_PATH) {
            return std::string();
        }
        buffer.assign(needed + 1, 0);
        if (!AskSpooler(buffer.data(), needed, needed)) {
            return std::string();
        }
    }
    return reinterpret_cast<const char*>(buffer.data());
}

HMODULE LoadSystemLibrary(const char* fileName) {
    const std::string directory = SystemDirectory();
    const std::string path = directory + "\\" + fileName;
    return !directory.empty() && FitsPathBuffer(path) ? LoadLibraryA(path.c_str()) : nullptr;
}
