#include "HostPlatformWin32.h"

#include "FileErrorCause.h"
#include "FileMove.h"
#include "VelloraNames.h"
#include "WindowsPaths.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
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

// The save-file dialog is needed only when a request asks for it: comdlg32.dll is loaded on first
// use, as winspool.drv is for the printer-driver directory, so that the resident host starts
// without either.
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

unsigned long ResultOf(BOOL done) {
    return done ? ERROR_SUCCESS : GetLastError();
}

// Windows 9x does not implement MoveFileExA: it is looked up, never imported, and only on
// Windows NT.
bool IsWindowsNt() {
    return (GetVersion() & 0x80000000u) == 0;
}

// Copies in blocks of this size, in memory taken for the copy and returned after it, so that
// the resident host keeps nothing of it. Blocks of a megabyte measured slower, probably since
// each copy then faults in that much fresh memory and a block no longer stays in the
// processor's cache between its read and its write.
constexpr DWORD kCopyBlockBytes = 64 * 1024;

class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE owned) : handle(owned) {}
    ~OwnedHandle() { Reset(INVALID_HANDLE_VALUE); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle; }
    void Reset(HANDLE owned) {
        if (Valid()) {
            CloseHandle(handle);
        }
        handle = owned;
    }

  private:
    HANDLE handle;
};

// A write that takes less than it was given means that the drive took no more.
unsigned long CopyContents(HANDLE source, HANDLE target, char* block) {
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, block, kCopyBlockBytes, &read, nullptr)) {
            return GetLastError();
        }
        if (read == 0) {
            return ERROR_SUCCESS;
        }
        DWORD written = 0;
        if (!WriteFile(target, block, read, &written, nullptr)) {
            return GetLastError();
        }
        if (written != read) {
            return ERROR_DISK_FULL;
        }
    }
}

// A copy keeps the time the print was made, as a rename does. Set once the data is written
// through, so that no write still on its way to the drive (a network redirector's, say) stamps
// the time anew.
void KeepLastWriteTime(HANDLE source, HANDLE target) {
    FILETIME lastWrite;
    if (GetFileTime(source, nullptr, nullptr, &lastWrite)) {
        SetFileTime(target, nullptr, nullptr, &lastWrite);
    }
}

// CopyFileA would open the copy once more to write it through, which under Wine costs a tenth
// of copying 10 MB, and would leave a moment in which another program could take the file.
unsigned long CopyAndWriteThrough(const std::string& from, HANDLE part) {
    const OwnedHandle source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid()) {
        return GetLastError();
    }
    void* const block = VirtualAlloc(nullptr, kCopyBlockBytes, MEM_COMMIT, PAGE_READWRITE);
    if (!block) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    const unsigned long failure = CopyContents(source.Get(), part, static_cast<char*>(block));
    VirtualFree(block, 0, MEM_RELEASE);
    if (failure != ERROR_SUCCESS) {
        return failure;
    }
    if (!FlushFileBuffers(part)) {
        return GetLastError();
    }
    KeepLastWriteTime(source.Get(), part);
    return ERROR_SUCCESS;
}

bool IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

class Win32FileCalls final : public FileCalls {
  public:
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget existing) override {
        static const auto moveFileEx =
            IsWindowsNt() ? SystemFunction<decltype(&MoveFileExA)>("kernel32.dll", "MoveFileExA")
                          : nullptr;
        if (!moveFileEx) {
            return ERROR_CALL_NOT_IMPLEMENTED;
        }
        if (existing == ExistingTarget::keep) {
            return ResultOf(moveFileEx(from.c_str(), to.c_str(), 0));
        }
        // A read-only file is never replaced, as it is never deleted: Windows refuses both, but
        // Wine's rename replaces it all the same (measured).
        if (IsReadOnly(to)) {
            return ERROR_ACCESS_DENIED;
        }
        return ResultOf(moveFileEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        return ResultOf(MoveFileA(from.c_str(), to.c_str()));
    }
    // Shared with no one until it is whole, so that no other program writes into it meanwhile.
    unsigned long CreatePart(const std::string& path) override {
        const HANDLE made = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        const unsigned long failure = made == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        part.Reset(made);
        return failure;
    }
    unsigned long FillPart(const std::string& from) override {
        const unsigned long failure =
            part.Valid() ? CopyAndWriteThrough(from, part.Get()) : ERROR_INVALID_HANDLE;
        part.Reset(INVALID_HANDLE_VALUE);
        return failure;
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

  private:
    OwnedHandle part{INVALID_HANDLE_VALUE};
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

int Win32HostPlatform::RenameFile(const std::string& from, const std::string& to,
                                  ExistingTarget existing) {
    Win32FileCalls calls;
    return FileErrorCause(MoveFileWhole(calls, *this, from, to, existing));
}

int Win32HostPlatform::RemoveFile(const std::string& path) {
    if (DeleteFileA(path.c_str())) {
        return filecause::kNone;
    }
    return CauseOfLastError();
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
    directory = ::PrinterDriverDirectory();
    return !directory.empty();
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
    ExitProcess(static_cast<UINT>(exitCode));
}
