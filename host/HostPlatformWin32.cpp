#include "HostPlatformWin32.h"

#include "FileErrorCause.h"
#include "VelloraNames.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

static_assert(kBoxStyleOk == MB_OK, "box style");
static_assert(kBoxStyleOverwriteQuestion == (MB_YESNOCANCEL | MB_ICONQUESTION | MB_TASKMODAL),
              "box style");
static_assert(kButtonOk == IDOK && kButtonCancel == IDCANCEL && kButtonYes == IDYES &&
                  kButtonNo == IDNO,
              "box buttons");

namespace {

// Atom names hold at most 255 characters; the caller decides how much of one it keeps.
constexpr int kAtomNameBufferSize = 256;
// The dialog's file-name buffer. A name too long for a path but shorter than this reaches the
// caller whole and is refused there; a name longer still the dialog itself reports.
constexpr DWORD kFileNameBufferSize = 400;
constexpr char kTiffFilter[] = "TIFF files (*.TIF)\0*.tif\0";

// A system DLL by its full path in the system directory: loaded by bare name, a file of that
// name beside the host would be loaded in its place.
HMODULE LoadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length + 1 + lstrlenA(fileName) >= sizeof(path)) {
        return nullptr;
    }
    path[length] = '\\';
    lstrcpyA(path + length + 1, fileName);
    return LoadLibraryA(path);
}

// The save-file dialog and the printer-driver directory are needed only when a request asks for
// them. Linked at start, their DLLs and everything those load in turn would lengthen every start
// of the resident host and stay in its memory for good; loaded on first use, they cost nothing
// until then.
template <typename Function> Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = LoadSystemLibrary(library);
    const FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

BOOL ShowSaveFileDialog(OPENFILENAMEA& dialog) {
    static const auto getSaveFileName =
        SystemFunction<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    return getSaveFileName ? getSaveFileName(&dialog) : FALSE;
}

bool DialogBufferWasTooSmall() {
    static const auto extendedError =
        SystemFunction<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
    return extendedError && extendedError() == FNERR_BUFFERTOOSMALL;
}

BOOL ReadPrinterDriverDirectory(BYTE* buffer, DWORD size, DWORD& needed) {
    static const auto getDirectory = SystemFunction<decltype(&GetPrinterDriverDirectoryA)>(
        "winspool.drv", "GetPrinterDriverDirectoryA");
    return getDirectory ? getDirectory(nullptr, nullptr, 1, buffer, size, &needed) : FALSE;
}

int CauseOfLastError() {
    return FileErrorCause(GetLastError());
}

// A box or dialog can open while an earlier one waits for its answer, since every modal loop
// takes the driver's next request. When the earlier one is answered first, its loop notices
// only with the next posted message (Wine waits in GetMessage for it), and the driver's
// requests are sent, not posted: without this empty message the host would wait there for
// good once the later box closes.
void WakeWaitingModalLoops() {
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

} // namespace

std::string Win32HostPlatform::ReadAtomName(std::uint16_t atom) {
    char name[kAtomNameBufferSize] = "";
    const UINT length = GlobalGetAtomNameA(atom, name, sizeof(name));
    return std::string(name, length);
}

void Win32HostPlatform::DeleteAtom(std::uint16_t atom) {
    GlobalDeleteAtom(atom);
}

int Win32HostPlatform::RenameFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED)) {
        return filecause::kNone;
    }
    return CauseOfLastError();
}

int Win32HostPlatform::RemoveFile(const std::string& path) {
    if (DeleteFileA(path.c_str())) {
        return filecause::kNone;
    }
    return CauseOfLastError();
}

void Win32HostPlatform::DeleteFileQuietly(const std::string& path) {
    DeleteFileA(path.c_str());
}

SaveDialogAnswer Win32HostPlatform::AskForSaveFileName(const std::string& folder,
                                                       const std::string& fileName,
                                                       std::string& chosenPath) {
    std::vector<char> name(std::max<std::size_t>(kFileNameBufferSize, fileName.size() + 1), '\0');
    std::copy(fileName.begin(), fileName.end(), name.begin());
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.lpstrFilter = kTiffFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = vellora::kSaveDialogTitle;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOTESTFILECREATE;
    const BOOL chosen = ShowSaveFileDialog(dialog);
    WakeWaitingModalLoops();
    if (chosen) {
        chosenPath = name.data();
        return SaveDialogAnswer::chosen;
    }
    return DialogBufferWasTooSmall() ? SaveDialogAnswer::nameTooLong : SaveDialogAnswer::cancelled;
}

int Win32HostPlatform::ShowMessageBox(const std::string& text, unsigned style) {
    const int answer = MessageBoxA(nullptr, text.c_str(), vellora::kMessageCaption, style);
    WakeWaitingModalLoops();
    return answer;
}

// Asked for with a path buffer first, as every spooler takes it; a larger buffer only when the
// spooler says that it needs one, so that a long directory is never cut short.
bool Win32HostPlatform::PrinterDriverDirectory(std::string& directory) {
    std::vector<BYTE> buffer(MAX_PATH, 0);
    DWORD needed = 0;
    if (!ReadPrinterDriverDirectory(buffer.data(), MAX_PATH, needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= MAX_PATH) {
            return false;
        }
        buffer.assign(needed + 1, 0);
        if (!ReadPrinterDriverDirectory(buffer.data(), needed, needed)) {
            return false;
        }
    }
    directory = reinterpret_cast<const char*>(buffer.data());
    return true;
}

void Win32HostPlatform::RunProgramAndWait(const std::string& programPath) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char emptyCommandLine[] = "";
    if (!CreateProcessA(programPath.c_str(), emptyCommandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32HostPlatform::EndProcess(int exitCode) {
    std::exit(exitCode);
}
