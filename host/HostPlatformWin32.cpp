#include "HostPlatformWin32.h"

#include "FileErrorCause.h"
#include "FileMove.h"
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

// The save-file dialog and the printer-driver directory are needed only when a request asks for
// them. Linked at start, their DLLs and everything those load in turn would lengthen every start
// of the resident host and stay in its memory for good; loaded on first use, they cost nothing
// until then.
template <typename Function> Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = LoadLibraryA(library);
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

unsigned long ResultOf(BOOL done) {
    return done ? ERROR_SUCCESS : GetLastError();
}

// Windows 9x does not implement MoveFileExA: it is looked up, never imported, and only on
// Windows NT.
bool IsWindowsNt() {
    return (GetVersion() & 0x80000000u) == 0;
}

class Win32FileCalls final : public FileCalls {
  public:
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to) override {
        static const auto moveFileEx =
            IsWindowsNt() ? SystemFunction<decltype(&MoveFileExA)>("kernel32.dll", "MoveFileExA")
                          : nullptr;
        if (!moveFileEx) {
            return ERROR_CALL_NOT_IMPLEMENTED;
        }
        return ResultOf(moveFileEx(from.c_str(), to.c_str(), 0));
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        return ResultOf(MoveFileA(from.c_str(), to.c_str()));
    }
    unsigned long Copy(const std::string& from, const std::string& to) override {
        return ResultOf(CopyFileA(from.c_str(), to.c_str(), TRUE));
    }
    unsigned long Flush(const std::string& path) override {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return GetLastError();
        }
        const unsigned long result = ResultOf(FlushFileBuffers(file));
        CloseHandle(file);
        return result;
    }
    void Delete(const std::string& path) override { DeleteFileA(path.c_str()); }
    bool Exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string FullPath(const std::string& path) override {
        char full[MAX_PATH] = "";
        char* fileName = nullptr;
        const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, &fileName);
        return length > 0 && length < sizeof(full) ? std::string(full, length) : std::string();
    }
};

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
    Win32FileCalls calls;
    return FileErrorCause(MoveFileWhole(calls, from, to));
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

bool Win32HostPlatform::PrinterDriverDirectory(std::string& directory) {
    DWORD needed = 0;
    ReadPrinterDriverDirectory(nullptr, 0, needed);
    if (needed == 0) {
        return false;
    }
    std::vector<BYTE> buffer(needed + 1, 0);
    if (!ReadPrinterDriverDirectory(buffer.data(), needed, needed)) {
        return false;
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
