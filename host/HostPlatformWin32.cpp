#include "HostPlatformWin32.h"

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

FileCalls& Win32HostPlatform::Files() {
    return files;
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
