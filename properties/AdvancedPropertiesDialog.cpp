#include "AdvancedPropertiesDialog.h"

#include "PathFieldText.h"
#include "PropertiesResources.h"
#include "SettingsFile.h"
#include "UnicodeEditWin32.h"

namespace {

// Set when the dialog opens, in this order; OK, "RLE" and "LZW" keep the template's texts.
struct Caption {
    int controlId;
    const char* text;
};
constexpr Caption kCaptions[] = {
    {IDC_OUTPUT_FILENAME_GROUP, "Output filename"},
    {IDC_FROM_FILENAME_DIALOG, FilenameModeCaption(FilenameMode::FromFilenameDialog)},
    {IDC_USE_DEFAULT_FILENAME, FilenameModeCaption(FilenameMode::UseDefaultFilename)},
    {IDC_OUTPUT_PATH_LABEL, "Default output path / filename root:"},
    {IDC_COMPRESSION_GROUP, "Compression"},
    {IDC_COMPRESSION_NONE, CompressionCaption(Compression::None)},
    {IDC_MULTIPAGE_GROUP, "Multipage Documents"},
    {IDC_MULTIPAGE_TIFF, MultipageCaption(Multipage::MultipageTiff)},
    {IDC_ONE_FILE_PER_PAGE, MultipageCaption(Multipage::OneFilePerPage)},
    {IDCANCEL, "&Cancel"},
};

constexpr int kMaxOutputPathLength = static_cast<int>(kMaxPathFieldBytes);

// The system's own rule for its ANSI code page, which Windows 95 has too.
bool IsLeadByteOfCodePage(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

} // namespace

AdvancedPropertiesDialog::AdvancedPropertiesDialog()
    : ModalDialog(IDD_PROPERTIES_DIALOG, IDI_PROPERTIES) {}

BOOL AdvancedPropertiesDialog::OnInitDialog() {
    ModalDialog::OnInitDialog();
    char path[vellora::kPathBufferSize];
    if (!BuildSettingsPath(path)) {
        ReportSettingsPathUnknown();
        EndDialog(IDCANCEL);
        return TRUE;
    }
    // Windows 9x counts this limit in bytes and so stops typing and pasting at it itself; NT
    // and Wine count characters, and every change of the field keeps to the bytes anyway.
    SendMessageA(Item(IDC_OUTPUT_PATH), EM_LIMITTEXT, kMaxOutputPathLength, 0);
    ShowSettings(ReadSettings(path));
    SetCaptions();
    // The platform puts the focus on the first tab stop, the OK button.
    return TRUE;
}

void AdvancedPropertiesDialog::OnOK() {
    char path[vellora::kPathBufferSize];
    if (BuildSettingsPath(path)) {
        WriteShownSettings(path);
    } else {
        ReportSettingsPathUnknown();
    }
    EndDialog(IDOK);
}

void AdvancedPropertiesDialog::OnClicked(int controlId) {
    switch (controlId) {
    case IDC_COMPRESSION_NONE:
        SelectCompression(Compression::None);
        break;
    case IDC_COMPRESSION_RLE:
        SelectCompression(Compression::Rle);
        break;
    case IDC_COMPRESSION_LZW:
        SelectCompression(Compression::Lzw);
        break;
    case IDC_USE_DEFAULT_FILENAME:
        SelectOutputFilenameMode(FilenameMode::UseDefaultFilename);
        break;
    case IDC_FROM_FILENAME_DIALOG:
        SelectOutputFilenameMode(FilenameMode::FromFilenameDialog);
        break;
    case IDC_MULTIPAGE_TIFF:
        SelectMultipage(Multipage::MultipageTiff);
        break;
    case IDC_ONE_FILE_PER_PAGE:
        SelectMultipage(Multipage::OneFilePerPage);
        break;
    default:
        break;
    }
}

void AdvancedPropertiesDialog::OnEditChanged(int controlId) {
    if (controlId == IDC_OUTPUT_PATH) {
        KeepPathFieldWritable();
    }
}

// A space typed at the end of the field may be the first of "My Scans": the field shows what the
// file will give back once the user has left it, and when OK writes it.
void AdvancedPropertiesDialog::OnEditLeft(int controlId) {
    if (controlId == IDC_OUTPUT_PATH) {
        ShowPathAsTheFileReadsIt();
    }
}

void AdvancedPropertiesDialog::ShowPathAsTheFileReadsIt() {
    const std::string shown = ItemText(IDC_OUTPUT_PATH);
    const std::string read = TextAsTheFileReadsIt(shown, IsLeadByteOfCodePage);
    if (read != shown) {
        SetItemText(IDC_OUTPUT_PATH, read);
    }
}

// Typed, pasted, put there by another program's WM_SETTEXT or by an input method, or read from
// the file: whatever the field now holds, it keeps only what OK can write as it shows it.
void AdvancedPropertiesDialog::KeepPathFieldWritable() {
    const std::optional<PathFieldText> withoutForeign = PathFieldWithoutForeignCharacters();
    const PathFieldText field = withoutForeign ? *withoutForeign : PathFieldInBytes();
    std::optional<PathFieldText> kept =
        KeepEditWithinField(pathBeforeEdit, field.text, field.caret, IsLeadByteOfCodePage);
    if (!kept) {
        kept = withoutForeign;
    }
    pathBeforeEdit = kept ? kept->text : field.text;
    if (kept) {
        // Comes back here, with nothing more to do.
        SetItemText(IDC_OUTPUT_PATH, kept->text);
        const auto placed = static_cast<WPARAM>(
            CaretInFieldCount(kept->text, kept->caret, FieldLength(), IsLeadByteOfCodePage));
        HWND edit = Item(IDC_OUTPUT_PATH);
        SendMessageA(edit, EM_SETSEL, placed, static_cast<LPARAM>(placed));
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
}

// The field's text as the ANSI code page writes it, with the caret in bytes.
PathFieldText AdvancedPropertiesDialog::PathFieldInBytes() {
    PathFieldText field{ItemText(IDC_OUTPUT_PATH), 0};
    DWORD caret = 0;
    SendMessageA(Item(IDC_OUTPUT_PATH), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    field.caret = CaretInBytes(field.text, caret, FieldLength(), IsLeadByteOfCodePage);
    return field;
}

// Where the field holds Unicode text with characters that the code page cannot write, which
// the ANSI text shows as "?" or as others: the text without them. Nothing otherwise.
std::optional<PathFieldText> AdvancedPropertiesDialog::PathFieldWithoutForeignCharacters() const {
    const std::optional<UnicodeFieldText> held = UnicodeEditText(Item(IDC_OUTPUT_PATH));
    if (!held) {
        return std::nullopt;
    }
    const UnicodeFieldText kept = KeepCodePageCharacters(*held, AnsiCodePageWrites);
    if (kept.text.size() == held->text.size()) {
        return std::nullopt;
    }
    PathFieldText field{AnsiText(kept.text), 0};
    field.caret = CaretInBytes(field.text, kept.caret, kept.text.size(), IsLeadByteOfCodePage);
    return field;
}

// The path field's length in its own count, which is not always bytes.
std::size_t AdvancedPropertiesDialog::FieldLength() const {
    return static_cast<std::size_t>(SendMessageA(Item(IDC_OUTPUT_PATH), EM_LINELENGTH, 0, 0));
}

void AdvancedPropertiesDialog::ShowSettings(const Settings& settings) {
    SelectOutputFilenameMode(settings.filenameMode);
    SetItemText(IDC_OUTPUT_PATH, settings.outputPath);
    SelectCompression(settings.compression);
    SelectMultipage(settings.multipage);
}

// All four keys, changed or not, in the table's order; a failed key does not stop the others.
// The controls are read anew for each key: a write error's box has no owner, so the dialog
// stays usable while it is open, and a choice changed meanwhile is the one written.
void AdvancedPropertiesDialog::WriteShownSettings(const char* path) {
    for (const SettingKey& setting : kSettingKeys) {
        WriteSetting(setting.key, setting.written(SettingsShown()), path);
    }
}

Settings AdvancedPropertiesDialog::SettingsShown() {
    return {FilenameModeShown(), OutputPathShown(), CompressionShown(), MultipageShown()};
}

FilenameMode AdvancedPropertiesDialog::FilenameModeShown() const {
    return IsChecked(IDC_FROM_FILENAME_DIALOG) ? FilenameMode::FromFilenameDialog
                                               : FilenameMode::UseDefaultFilename;
}

// A disabled field still counts, and so does an empty one. What it shows is what the file will
// give back.
std::string AdvancedPropertiesDialog::OutputPathShown() {
    ShowPathAsTheFileReadsIt();
    return ItemText(IDC_OUTPUT_PATH, kMaxOutputPathLength);
}

Compression AdvancedPropertiesDialog::CompressionShown() const {
    return IsChecked(IDC_COMPRESSION_NONE)  ? Compression::None
           : IsChecked(IDC_COMPRESSION_LZW) ? Compression::Lzw
                                            : Compression::Rle;
}

Multipage AdvancedPropertiesDialog::MultipageShown() const {
    return IsChecked(IDC_MULTIPAGE_TIFF) ? Multipage::MultipageTiff : Multipage::OneFilePerPage;
}

void AdvancedPropertiesDialog::SetCaptions() {
    ShowCaption(kCaption);
    for (const Caption& caption : kCaptions) {
        ShowItemText(caption.controlId, caption.text);
    }
}

void AdvancedPropertiesDialog::SelectOutputFilenameMode(FilenameMode mode) {
    Uncheck(IDC_USE_DEFAULT_FILENAME);
    Uncheck(IDC_FROM_FILENAME_DIALOG);
    Check(mode == FilenameMode::FromFilenameDialog ? IDC_FROM_FILENAME_DIALOG
                                                   : IDC_USE_DEFAULT_FILENAME);
    // The path and its label matter only while the default file name is in use.
    const bool pathInUse = IsChecked(IDC_USE_DEFAULT_FILENAME);
    EnableItem(IDC_OUTPUT_PATH, pathInUse);
    EnableItem(IDC_OUTPUT_PATH_LABEL, pathInUse);
}

void AdvancedPropertiesDialog::SelectCompression(Compression compression) {
    Uncheck(IDC_COMPRESSION_NONE);
    Uncheck(IDC_COMPRESSION_LZW);
    Uncheck(IDC_COMPRESSION_RLE);
    switch (compression) {
    case Compression::Rle:
        Check(IDC_COMPRESSION_RLE);
        break;
    case Compression::None:
        Check(IDC_COMPRESSION_NONE);
        break;
    case Compression::Lzw:
        Check(IDC_COMPRESSION_LZW);
        break;
    }
}

void AdvancedPropertiesDialog::SelectMultipage(Multipage multipage) {
    Uncheck(IDC_MULTIPAGE_TIFF);
    Uncheck(IDC_ONE_FILE_PER_PAGE);
    Check(multipage == Multipage::OneFilePerPage ? IDC_ONE_FILE_PER_PAGE : IDC_MULTIPAGE_TIFF);
}

// A radio button that is not checked is left alone: Wine sets its style anew on every
// BM_SETCHECK, a round trip to the window server.
void AdvancedPropertiesDialog::Uncheck(int radioButtonId) {
    if (IsChecked(radioButtonId)) {
        SetChecked(radioButtonId, false);
    }
}

void AdvancedPropertiesDialog::Check(int radioButtonId) {
    SetChecked(radioButtonId, true);
    HWND button = Item(radioButtonId);
    SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) & ~WS_TABSTOP);
}
