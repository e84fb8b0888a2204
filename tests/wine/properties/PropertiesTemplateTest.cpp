// The properties dialog's resources as the program file holds them, and the dialog built from
// them as it shows on the screen.
#include "PropertiesProgram.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace winetest;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr WORD kButtonClass = 0x80, kEditClass = 0x81, kStaticClass = 0x82;

struct Control {
    int id;
    WORD classAtom;
    std::string text;
    DWORD style;
    RECT rect; // left, top, width, height in dialog units
    std::string shownText;
};

RECT Units(LONG x, LONG y, LONG width, LONG height) {
    return RECT{x, y, width, height};
}

const Control kControls[] = {
    {IDOK, kButtonClass, "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, Units(46, 223, 50, 14),
     "OK"},
    {IDCANCEL, kButtonClass, "Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, Units(122, 223, 50, 14),
     "&Cancel"},
    {1001, kButtonClass, "Compression", kChild | BS_GROUPBOX | WS_GROUP, Units(15, 107, 190, 37),
     "Compression"},
    {1002, kButtonClass, "None", kChild | BS_AUTORADIOBUTTON | WS_GROUP, Units(31, 123, 32, 10),
     "None"},
    {1003, kButtonClass, "RLE", kChild | BS_AUTORADIOBUTTON | WS_GROUP, Units(95, 123, 32, 10),
     "RLE"},
    {1004, kButtonClass, "LZW", kChild | BS_AUTORADIOBUTTON | WS_GROUP, Units(156, 123, 32, 10),
     "LZW"},
    {1005, kEditClass, "", kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, Units(33, 67, 150, 14),
     "c:\\VelloraDoc"},
    {1006, kStaticClass, "Default output path:", kChild | SS_LEFT | WS_GROUP, Units(33, 57, 154, 8),
     "Default output path / filename root:"},
    {1007, kButtonClass, "use default filename", kChild | BS_AUTORADIOBUTTON | WS_GROUP,
     Units(31, 40, 79, 8), "use default filename"},
    {1008, kButtonClass, "Output filename", kChild | BS_GROUPBOX, Units(15, 9, 190, 86),
     "Output filename"},
    {1009, kButtonClass, "from filename dialog", kChild | BS_AUTORADIOBUTTON | WS_GROUP,
     Units(31, 27, 78, 9), "from filename dialog"},
    {1010, kButtonClass, "Multipage", kChild | BS_GROUPBOX | WS_GROUP, Units(14, 155, 190, 51),
     "Multipage Documents"},
    {1011, kButtonClass, "OnePage", kChild | BS_AUTORADIOBUTTON | WS_GROUP, Units(31, 185, 156, 10),
     "one TIFF file per page"},
    {1012, kButtonClass, "Multipage", kChild | BS_AUTORADIOBUTTON | WS_GROUP,
     Units(31, 171, 162, 10), "multipage TIFF"},
};

// Reads an extended dialog template field by field.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : at(data) {}
    template <typename T> T Read() {
        T value;
        std::memcpy(&value, at, sizeof(T));
        at += sizeof(T);
        return value;
    }
    std::string ReadText() {
        std::string text;
        for (WORD c = Read<WORD>(); c != 0; c = Read<WORD>()) {
            text += static_cast<char>(c);
        }
        return text;
    }
    // A name or an ordinal; ordinals come back as "#number", nothing as "".
    std::string ReadNameOrOrdinal() {
        WORD first;
        std::memcpy(&first, at, sizeof(first));
        if (first == 0xFFFF) {
            Read<WORD>();
            return "#" + std::to_string(Read<WORD>());
        }
        return ReadText();
    }
    void AlignToDword(const BYTE* start) {
        while ((at - start) % 4 != 0) {
            ++at;
        }
    }

  private:
    const BYTE* at;
};

// The program file opened as data, for its resources.
class ProgramResources {
  public:
    ProgramResources()
        : module(
              LoadLibraryExA(BinPath("VlExProp.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources() { FreeLibrary(module); }
    const BYTE* Find(LPCSTR type, int id, WORD language) const {
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
        return found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found)))
                     : nullptr;
    }

  private:
    HMODULE module;
};

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

INT_PTR CALLBACK ReferenceDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A hidden dialog of this process with the template's font: it turns dialog units into pixels
// as the program's dialog does (another process's dialog cannot be asked).
class ReferenceDialog {
  public:
    ReferenceDialog() {
        alignas(4) BYTE data[128] = {};
        auto* header = reinterpret_cast<DLGTEMPLATE*>(data);
        header->style = WS_POPUP | DS_SETFONT | DS_MODALFRAME;
        auto* words = reinterpret_cast<WORD*>(header + 1);
        *words++ = 0; // no menu
        *words++ = 0; // the standard class
        *words++ = 0; // no title
        *words++ = 8; // points
        for (const char* c = "MS Sans Serif"; *c; ++c) {
            *words++ = static_cast<WORD>(*c);
        }
        *words = 0;
        window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr,
                                            ReferenceDialogProc, 0);
    }
    ~ReferenceDialog() { DestroyWindow(window); }
    // Position and size are mapped each on its own, as the dialog places its controls.
    RECT Pixels(RECT units) const {
        RECT mapped = units;
        MapDialogRect(window, &mapped);
        return RECT{mapped.left, mapped.top, mapped.left + mapped.right,
                    mapped.top + mapped.bottom};
    }

  private:
    HWND window;
};

// Comparable and printable.
std::array<LONG, 4> Corners(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A control's rectangle in the dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

TEST(PropertiesResources, dialog_102_is_the_extended_template_in_english) {
    ProgramResources resources;
    const BYTE* data = resources.Find(RT_DIALOG, 102, kEnglishUs);
    ASSERT_NE(data, nullptr);
    TemplateReader reader(data);
    EXPECT_EQ(reader.Read<WORD>(), 1);      // version
    EXPECT_EQ(reader.Read<WORD>(), 0xFFFF); // extended
    EXPECT_EQ(reader.Read<DWORD>(), 0u);    // help ID
    EXPECT_EQ(reader.Read<DWORD>(), static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(reader.Read<DWORD>(), static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION |
                                                       DS_MODALFRAME | DS_SETFONT | DS_SYSMODAL));
    EXPECT_EQ(reader.Read<WORD>(), std::size(kControls));
    EXPECT_EQ(reader.Read<short>(), 0);
    EXPECT_EQ(reader.Read<short>(), 0);
    EXPECT_EQ(reader.Read<short>(), 219);
    EXPECT_EQ(reader.Read<short>(), 254);
    EXPECT_EQ(reader.ReadNameOrOrdinal(), ""); // no menu
    EXPECT_EQ(reader.ReadNameOrOrdinal(), ""); // the standard dialog class
    EXPECT_EQ(reader.ReadText(), "Vellora 9x Advanced Properties");
    EXPECT_EQ(reader.Read<WORD>(), 8); // points
    reader.Read<WORD>();               // weight
    EXPECT_EQ(reader.Read<BYTE>(), 0); // not italic
    reader.Read<BYTE>();               // character set
    EXPECT_EQ(reader.ReadText(), "MS Sans Serif");
    for (const Control& control : kControls) {
        reader.AlignToDword(data);
        EXPECT_EQ(reader.Read<DWORD>(), 0u) << control.id; // help ID
        EXPECT_EQ(reader.Read<DWORD>(), 0u) << control.id; // extended style
        EXPECT_EQ(reader.Read<DWORD>(), control.style) << control.id;
        RECT rect;
        rect.left = reader.Read<short>();
        rect.top = reader.Read<short>();
        rect.right = reader.Read<short>();
        rect.bottom = reader.Read<short>();
        EXPECT_EQ(Corners(rect), Corners(control.rect)) << control.id;
        EXPECT_EQ(reader.Read<DWORD>(), static_cast<DWORD>(control.id));
        EXPECT_EQ(reader.ReadNameOrOrdinal(), "#" + std::to_string(control.classAtom))
            << control.id;
        EXPECT_EQ(reader.ReadNameOrOrdinal(), control.text) << control.id;
        EXPECT_EQ(reader.Read<WORD>(), 0) << control.id; // no creation data
    }
}

TEST(PropertiesResources, icon_128_is_one_32_by_32_image_with_256_colours) {
    ProgramResources resources;
    const BYTE* group = resources.Find(RT_GROUP_ICON, 128, kEnglishUs);
    ASSERT_NE(group, nullptr);
    TemplateReader reader(group);
    reader.Read<WORD>();
    EXPECT_EQ(reader.Read<WORD>(), 1); // icons
    ASSERT_EQ(reader.Read<WORD>(), 1); // images
    EXPECT_EQ(reader.Read<BYTE>(), 32);
    EXPECT_EQ(reader.Read<BYTE>(), 32);
    EXPECT_EQ(reader.Read<BYTE>(), 0); // 0 stands for 256 colours
    reader.Read<BYTE>();
    EXPECT_EQ(reader.Read<WORD>(), 1); // planes
    EXPECT_EQ(reader.Read<WORD>(), 8); // bits per pixel
    reader.Read<DWORD>();
    const BYTE* image = resources.Find(RT_ICON, reader.Read<WORD>(), kEnglishUs);
    ASSERT_NE(image, nullptr);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof(header));
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64); // colours and mask
    EXPECT_EQ(header.biBitCount, 8);
}

class ShownDialog : public testing::Test {
  protected:
    void SetUp() override {
        RemoveSettingsFile();
        ASSERT_TRUE(program.Opened());
    }
    PropertiesProgram program;
};

TEST_F(ShownDialog, is_a_centred_system_modal_dialog_without_system_menu) {
    char className[64] = "";
    GetClassNameA(program.Dialog(), className, sizeof(className));
    EXPECT_STREQ(className, "#32770");
    EXPECT_EQ(WindowText(program.Dialog()), "Vellora 9x Advanced Properties");
    const LONG style = GetWindowLongA(program.Dialog(), GWL_STYLE);
    const LONG expected =
        WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_SYSMODAL;
    EXPECT_EQ(style & expected, expected);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    const LONG exStyle = GetWindowLongA(program.Dialog(), GWL_EXSTYLE);
    EXPECT_EQ(exStyle & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
    EXPECT_EQ(GetParent(program.Dialog()), nullptr);
    RECT frame, workArea;
    GetWindowRect(program.Dialog(), &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_NEAR(frame.left + frame.right, workArea.left + workArea.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, workArea.top + workArea.bottom, 1);
}

TEST_F(ShownDialog, controls_come_in_template_order_with_their_texts_at_their_places) {
    ReferenceDialog reference;
    RECT client;
    GetClientRect(program.Dialog(), &client);
    EXPECT_EQ(Corners(client), Corners(reference.Pixels(Units(0, 0, 219, 254))));
    HWND child = GetWindow(program.Dialog(), GW_CHILD);
    for (const Control& control : kControls) {
        ASSERT_NE(child, nullptr) << control.id;
        EXPECT_EQ(GetDlgCtrlID(child), control.id);
        EXPECT_EQ(program.Text(control.id), control.shownText) << control.id;
        EXPECT_EQ(Corners(ClientRect(program.Dialog(), child)),
                  Corners(reference.Pixels(control.rect)))
            << control.id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST_F(ShownDialog, offers_its_icon_while_minimised_and_keeps_working) {
    EXPECT_NE(SendWithDeadline(program.Dialog(), WM_QUERYDRAGICON, 0, 0), 0);
    // Asked again while it is not minimised: a dialog still being shown and activated when first
    // asked restores itself afterwards.
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (IsIconic(program.Dialog())) {
                return true;
            }
            ShowWindow(program.Dialog(), SW_MINIMIZE);
            return false;
        },
        kDefaultTimeoutMs, 250));
    RedrawWindow(program.Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    UpdateWindow(program.Dialog());
    EXPECT_EQ(SendWithDeadline(program.Dialog(), WM_NULL, 0, 0), 0);
    program.Press(IDOK);
    EXPECT_TRUE(program.Ended());
    EXPECT_FALSE(SettingsFileText().empty());
}
