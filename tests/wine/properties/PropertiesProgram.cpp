#include "PropertiesProgram.h"

#include "VelloraNames.h"

using namespace winetest;

std::string SettingsFilePath() {
    return WindowsDirectory() + "\\" + vellora::kSettingsFile;
}

std::string SettingsFileText() {
    return ReadFileText(SettingsFilePath());
}

void StoreSettingsFile(const std::string& text) {
    WriteFileText(SettingsFilePath(), text);
}

void RemoveSettingsFile() {
    DeleteFileA(SettingsFilePath().c_str());
}

std::string StoredSetting(const char* section, const char* key) {
    char value[1024] = "";
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value),
                             SettingsFilePath().c_str());
    return value;
}

PropertiesProgram::PropertiesProgram() : PropertiesProgram(BinPath("VlExProp.exe")) {}

PropertiesProgram::PropertiesProgram(const std::string& programPath)
    : process("\"" + programPath + "\"") {
    // The window exists, hidden, while it is being set up; it shows when it is ready.
    WaitUntil([&] {
        auto found = FindTopLevelWindows("#32770", kPropertiesCaption, process.Id());
        dialog = !found.empty() && IsWindowVisible(found.front()) ? found.front() : nullptr;
        return dialog != nullptr;
    });
}

std::string PropertiesProgram::Text(int id) const {
    const LRESULT length = SendWithDeadline(Item(id), WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendWithDeadline(Item(id), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring PropertiesProgram::UnicodeText(int id) const {
    wchar_t text[1024] = L""; // more than any text a test puts in
    SendMessageTimeoutW(Item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        kDefaultTimeoutMs, nullptr);
    return text;
}

std::vector<int> PropertiesProgram::CheckedOf(std::initializer_list<int> ids) const {
    std::vector<int> checked;
    for (int id : ids) {
        if (SendWithDeadline(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            checked.push_back(id);
        }
    }
    return checked;
}

HWND PropertiesProgram::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

void PropertiesProgram::Click(int id) {
    SendWithDeadline(Item(id), BM_CLICK, 0, 0);
}

void PropertiesProgram::ClickInto(int id) {
    PostMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void PropertiesProgram::SetPathText(const std::string& text) {
    SendWithDeadline(Item(1005), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PropertiesProgram::PastePathText(const std::string& text) {
    SendWithDeadline(Item(1005), EM_SETSEL, 0, -1);
    SendWithDeadline(Item(1005), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void PropertiesProgram::Press(int id) {
    PostMessageA(Item(id), BM_CLICK, 0, 0);
}

void PropertiesProgram::PressKey(WPARAM virtualKey) {
    HWND target = Focus() ? Focus() : dialog;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

void PropertiesProgram::TypeCharacter(char character) {
    HWND target = Focus() ? Focus() : dialog;
    PostMessageA(target, WM_CHAR, static_cast<unsigned char>(character), 1);
}

bool PropertiesProgram::Ended() {
    return process.WaitForExit() && !IsWindow(dialog);
}
