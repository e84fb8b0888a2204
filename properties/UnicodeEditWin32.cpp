#include "UnicodeEditWin32.h"

#include "WindowsPaths.h"

namespace {

static_assert(sizeof(char16_t) == sizeof(WCHAR), "Windows' Unicode text is UTF-16");

// Most Unicode functions of USER32 are stubs on Windows 9x: looked up, never imported, and
// only on Windows NT.
decltype(&SendMessageW) UnicodeSendMessage() {
    static const auto sendMessage =
        (GetVersion() & 0x80000000u) == 0
            ? SystemFunction<decltype(&SendMessageW)>("user32.dll", "SendMessageW")
            : nullptr;
    return sendMessage;
}

} // namespace

std::optional<UnicodeFieldText> UnicodeEditText(HWND edit) {
    const auto sendMessage = UnicodeSendMessage();
    if (!sendMessage) {
        return std::nullopt;
    }
    const LRESULT length = sendMessage(edit, WM_GETTEXTLENGTH, 0, 0);
    UnicodeFieldText field{std::u16string(static_cast<std::size_t>(length) + 1, u'\0'), 0};
    const LRESULT copied =
        sendMessage(edit, WM_GETTEXT, field.text.size(), reinterpret_cast<LPARAM>(&field.text[0]));
    field.text.resize(static_cast<std::size_t>(copied));
    DWORD caret = 0;
    sendMessage(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    field.caret = caret;
    return field;
}

bool AnsiCodePageWrites(char16_t unit) {
    const auto wide = static_cast<WCHAR>(unit);
    // Room for any one character of a code page that Windows may take as its ANSI one.
    char bytes[4];
    const int length =
        WideCharToMultiByte(CP_ACP, 0, &wide, 1, bytes, sizeof(bytes), nullptr, nullptr);
    WCHAR readBack[2];
    return length > 0 && MultiByteToWideChar(CP_ACP, 0, bytes, length, readBack, 2) == 1 &&
           readBack[0] == wide;
}

std::string AnsiText(const std::u16string& text) {
    const auto* wide = reinterpret_cast<const WCHAR*>(text.data());
    const int units = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, units, &ansi[0], length, nullptr, nullptr);
    return ansi;
}
