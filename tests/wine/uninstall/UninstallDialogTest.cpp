// The uninstall dialog as the user sees it, and its resources as the program carries them.
#include "Installation.h"
#include "WineTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace winetest;

namespace {

constexpr const char* kCaption = "Vellora 9x uninstall";

struct FirstSight {
    std::string caption;
    std::string infoText;
    std::string okText;
    std::string cancelText;
};

// A control's text as the control itself gives it: an edit control's text is not its window
// title, which is all that GetWindowText reads across processes.
std::string ControlText(HWND dialog, int id) {
    char text[256] = "";
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof(text),
                        reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kDefaultTimeoutMs, nullptr);
    return text;
}

// The texts of the process's dialog the first moment it is visible.
FirstSight WatchFirstSight(const Process& process, HWND& dialog) {
    FirstSight seen;
    WaitUntil([&] {
        for (HWND window : FindTopLevelWindows("#32770", nullptr, process.Id())) {
            if (IsWindowVisible(window)) {
                seen = {WindowText(window), ControlText(window, 1004), ControlText(window, IDOK),
                        ControlText(window, IDCANCEL)};
                dialog = window;
                return true;
            }
        }
        return false;
    });
    return seen;
}

// Reads a resource of Uninstall.exe as it is stored, in US English.
class ProgramResources {
  public:
    ProgramResources()
        : module(LoadLibraryExA(BinPath("Uninstall.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources() {
        if (module) {
            FreeLibrary(module);
        }
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    std::vector<BYTE> Read(LPCSTR type, int id) const {
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (!found) {
            return {};
        }
        const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        return std::vector<BYTE>(data, data + SizeofResource(module, found));
    }

  private:
    HMODULE module;
};

// Walks a DLGTEMPLATEEX: fixed fields, then texts of UTF-16 units or 0xFFFF and an ordinal.
class TemplateReader {
  public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : data(bytes) {}
    WORD Word() {
        WORD value = 0;
        if (offset + 2 <= data.size()) {
            std::memcpy(&value, &data[offset], 2);
        }
        offset += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return offset < data.size() ? data[offset++] : 0; }
    // A text, or "#<ordinal>".
    std::string Text() {
        std::string text;
        WORD unit = Word();
        if (unit == 0xFFFF) {
            return "#" + std::to_string(Word());
        }
        for (; unit != 0; unit = Word()) {
            text += static_cast<char>(unit);
        }
        return text;
    }
    void AlignToDword() { offset = (offset + 3) & ~static_cast<size_t>(3); }
    bool Exhausted() const { return offset >= data.size(); }

  private:
    const std::vector<BYTE>& data;
    size_t offset = 0;
};

struct TemplateItem {
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    std::string windowClass;
    std::string title;
};

TemplateItem ReadItem(TemplateReader& reader) {
    reader.AlignToDword();
    TemplateItem item{};
    reader.Dword(); // help ID
    item.exStyle = reader.Dword();
    item.style = reader.Dword();
    item.x = reader.Short();
    item.y = reader.Short();
    item.cx = reader.Short();
    item.cy = reader.Short();
    item.id = reader.Dword();
    item.windowClass = reader.Text();
    item.title = reader.Text();
    const WORD extraBytes = reader.Word();
    for (WORD i = 0; i < extraBytes; ++i) {
        reader.Byte();
    }
    return item;
}

} // namespace

TEST(UninstallDialog, texts_caption_and_cancel_are_final_from_the_first_sight) {
    Process process("\"" + BinPath("Uninstall.exe") + "\"");
    HWND dialog = nullptr;
    const FirstSight seen = WatchFirstSight(process, dialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(seen.caption, kCaption);
    EXPECT_EQ(seen.infoText, "In order to uninstall Vellora 9x printer driver, please click 'OK'.");
    EXPECT_EQ(seen.okText, "OK");
    EXPECT_EQ(seen.cancelText, "&Cancel");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(UninstallDialog, is_an_own_taskbar_window_with_the_focus_on_ok) {
    Process process("\"" + BinPath("Uninstall.exe") + "\"");
    HWND dialog = WaitForWindow("#32770", kCaption, process.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    const LONG editStyle = GetWindowLongA(GetDlgItem(dialog, 1004), GWL_STYLE);
    EXPECT_EQ(editStyle & (ES_CENTER | ES_MULTILINE | ES_READONLY | WS_BORDER),
              ES_CENTER | ES_MULTILINE | ES_READONLY);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, 1004), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // The focus is set once the dialog has been shown, which may come after it can be found.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    EXPECT_TRUE(WaitUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) &&
               thread.hwndFocus == GetDlgItem(dialog, IDOK);
    })) << "focus on "
        << thread.hwndFocus;
    EXPECT_NE(SendWithDeadline(dialog, WM_QUERYDRAGICON, 0, 0), 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(UninstallDialog, log_box_belongs_to_the_dialog_and_has_only_ok) {
    installation::RemoveEverything();
    Process process("\"" + BinPath("Uninstall.exe") + "\"");
    HWND dialog = WaitForWindow("#32770", kCaption, process.Id());
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND window : FindTopLevelWindows("#32770", kCaption, process.Id())) {
            box = window != dialog ? window : box;
        }
        return box != nullptr;
    });
    ASSERT_NE(box, nullptr);
    // The box sets up its buttons before it shows itself.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(box) != FALSE; }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
    for (int other : {IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, other))) << other;
    }
    // The dialog stays until the process ends.
    EXPECT_TRUE(IsWindow(dialog));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(process.WaitForExit());
    EXPECT_EQ(process.ExitCode(), 1u);
}

TEST(UninstallResources, dialog_template_102_is_exactly_as_designed) {
    ProgramResources resources;
    const std::vector<BYTE> bytes = resources.Read(RT_DIALOG, 102);
    ASSERT_FALSE(bytes.empty());
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);      // version
    EXPECT_EQ(reader.Word(), 0xFFFF); // extended template
    reader.Dword();                   // help ID
    EXPECT_EQ(reader.Dword(), static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(reader.Dword(), static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                                 DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(reader.Word(), 3); // controls
    const short frame[] = {reader.Short(), reader.Short(), reader.Short(), reader.Short()};
    EXPECT_EQ(std::vector<short>(frame, frame + 4), (std::vector<short>{0, 0, 169, 109}));
    EXPECT_EQ(reader.Text(), ""); // menu
    EXPECT_EQ(reader.Text(), ""); // window class
    EXPECT_EQ(reader.Text(), "uninstall");
    EXPECT_EQ(reader.Word(), 8); // points
    reader.Word();               // weight
    reader.Byte();               // italic
    reader.Byte();               // character set
    EXPECT_EQ(reader.Text(), "MS Sans Serif");

    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const TemplateItem ok = ReadItem(reader);
    EXPECT_EQ(ok.id, static_cast<DWORD>(IDOK));
    EXPECT_EQ(ok.windowClass, "#128"); // button
    EXPECT_EQ(ok.title, "OK");
    EXPECT_EQ(ok.style, child | BS_DEFPUSHBUTTON);
    EXPECT_EQ(std::vector<short>({ok.x, ok.y, ok.cx, ok.cy}), (std::vector<short>{22, 72, 50, 14}));
    const TemplateItem cancel = ReadItem(reader);
    EXPECT_EQ(cancel.id, static_cast<DWORD>(IDCANCEL));
    EXPECT_EQ(cancel.windowClass, "#128");
    EXPECT_EQ(cancel.title, "&Abbrechen");
    EXPECT_EQ(cancel.style, child | BS_PUSHBUTTON);
    EXPECT_EQ(std::vector<short>({cancel.x, cancel.y, cancel.cx, cancel.cy}),
              (std::vector<short>{98, 72, 50, 14}));
    const TemplateItem info = ReadItem(reader);
    EXPECT_EQ(info.id, 1004u);
    EXPECT_EQ(info.windowClass, "#129"); // edit
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(info.style, child | ES_CENTER | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY);
    EXPECT_EQ(info.exStyle, 0u);
    EXPECT_EQ(std::vector<short>({info.x, info.y, info.cx, info.cy}),
              (std::vector<short>{7, 21, 155, 29}));
    for (const TemplateItem& item : {ok, cancel}) {
        EXPECT_EQ(item.exStyle, 0u);
    }
    reader.AlignToDword();
    EXPECT_TRUE(reader.Exhausted());
}

TEST(UninstallResources, icon_126_is_one_32_by_32_image_with_256_colours) {
    ProgramResources resources;
    const std::vector<BYTE> group = resources.Read(RT_GROUP_ICON, 126);
    // GRPICONDIR (6 bytes) and one 14-byte entry.
    ASSERT_EQ(group.size(), 20u);
    TemplateReader reader(group);
    reader.Word();
    EXPECT_EQ(reader.Word(), 1); // icons
    EXPECT_EQ(reader.Word(), 1); // images
    EXPECT_EQ(reader.Byte(), 32);
    EXPECT_EQ(reader.Byte(), 32);
    EXPECT_EQ(reader.Byte(), 0); // 256 colours are written as 0
    reader.Byte();
    EXPECT_EQ(reader.Word(), 1); // planes
    EXPECT_EQ(reader.Word(), 8); // bits per pixel
    reader.Dword();
    const std::vector<BYTE> image = resources.Read(RT_ICON, reader.Word());
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof(header));
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64); // the colours and the mask
    EXPECT_EQ(header.biBitCount, 8);
}
