#include "HostUnderTest.h"

#include "VelloraNames.h"

using namespace winetest;

namespace hosttest {

namespace {

constexpr int kFileNameField = 0x47c;
// The dialog's "Save in" folder list, filled once the dialog has opened its first folder.
constexpr int kFolderList = 0x471;
constexpr int kBoxTextControl = 0xFFFF;
// Requests that wait for the user are given this long to come back.
constexpr DWORD kRequestTimeoutMs = 60000;

// The text that the control itself reports. GetWindowText does not ask a control of another
// process; the combo boxes of the save-file dialog keep their text only this way.
std::string ControlText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    char text[1024] = "";
    if (control) {
        SendMessageTimeoutA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                            SMTO_NORMAL, 2000, nullptr);
    }
    return text;
}

// A "Vellora 9x" dialog of the host's, once the control that tells it apart holds its text.
HWND WaitForHostDialogWithText(int controlId) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND candidate : FindTopLevelWindows("#32770", vellora::kMessageCaption)) {
            if (IsWindowVisible(candidate) && !ControlText(candidate, controlId).empty()) {
                found = candidate;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::future<LRESULT> SendTextAsync(HWND host, UINT message, const std::string& text) {
    return std::async(std::launch::async, [=] {
        return SendWithDeadline(host, message, AddGlobalAtom(text), 0, kRequestTimeoutMs);
    });
}

} // namespace

RunningHost::RunningHost(const std::string& arguments)
    : process("\"" + BinPath(vellora::kHostProgramFile) + "\"" + arguments),
      window(WaitForWindow(nullptr, vellora::kHostWindowName, process.Id())) {}

ATOM AddGlobalAtom(const std::string& text) {
    return GlobalAddAtomA(text.c_str());
}

bool AtomExists(ATOM atom) {
    char name[256] = "";
    return GlobalGetAtomNameA(atom, name, sizeof(name)) != 0;
}

LRESULT SetOutputRoot(HWND host, const std::string& root) {
    return SendWithDeadline(host, vellora::HM_SET_OUTPUT_ROOT, AddGlobalAtom(root), 0);
}

LRESULT SetNameSuffix(HWND host, const std::string& suffix) {
    return SendWithDeadline(host, vellora::HM_SET_NAME_SUFFIX, AddGlobalAtom(suffix), 0);
}

LRESULT PlaceOutput(HWND host, const std::string& producedPathWithoutExtension) {
    const ATOM atom = AddGlobalAtom(producedPathWithoutExtension);
    const LRESULT result = SendWithDeadline(host, vellora::HM_PLACE_OUTPUT, atom, 0);
    GlobalDeleteAtom(atom);
    return result;
}

std::future<LRESULT> SetOutputRootAsync(HWND host, const std::string& root) {
    return SendTextAsync(host, vellora::HM_SET_OUTPUT_ROOT, root);
}

std::future<LRESULT> PlaceOutputAsync(HWND host, const std::string& producedPathWithoutExtension) {
    return std::async(std::launch::async, [=] {
        const ATOM atom = AddGlobalAtom(producedPathWithoutExtension);
        const LRESULT result =
            SendWithDeadline(host, vellora::HM_PLACE_OUTPUT, atom, 0, kRequestTimeoutMs);
        GlobalDeleteAtom(atom);
        return result;
    });
}

std::future<LRESULT> SendRequestAsync(HWND host, UINT message) {
    return SendAsync(host, message, 0, 0, kRequestTimeoutMs);
}

HWND WaitForSaveDialog() {
    return WaitForHostDialogWithText(kFolderList);
}

std::string SaveDialogFileName(HWND dialog) {
    return ControlText(dialog, kFileNameField);
}

void ChooseInSaveDialog(HWND dialog, const std::string& name) {
    SendMessageA(GetDlgItem(dialog, kFileNameField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    WaitForWindowGone(dialog);
}

void CancelSaveDialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitForWindowGone(dialog);
}

HWND WaitForHostBox() {
    return WaitForHostDialogWithText(kBoxTextControl);
}

std::string AnswerHostBox(int button) {
    HWND box = WaitForHostBox();
    if (!box) {
        return std::string();
    }
    const std::string text = MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitForWindowGone(box);
    return text;
}

LRESULT ResultOf(std::future<LRESULT>& request) {
    if (request.wait_for(std::chrono::milliseconds(kRequestTimeoutMs + 5000)) !=
        std::future_status::ready) {
        return -2;
    }
    return request.get();
}

bool PlacedAt(HWND host, const std::string& spool, const std::string& suffix,
              const std::string& expectedPath) {
    SetNameSuffix(host, suffix);
    const std::string produced = spool + "\\job";
    WriteFileText(produced + ".tif", suffix);
    return PlaceOutput(host, produced) == 0 && ReadFileText(expectedPath) == suffix;
}

} // namespace hosttest
