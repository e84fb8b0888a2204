// An ANSI program's edit control on Windows NT and under Wine holds Unicode text: typing with
// another keyboard layout, an input method, a paste or another program's WM_SETTEXT can put
// characters into it that the ANSI code page has no bytes for. Windows 9x edit controls hold
// ANSI text, and there the question never arises.
#pragma once

#include "PathFieldText.h"

#include <windows.h>

#include <optional>
#include <string>

// The control's text and caret as it holds them; nothing on Windows 9x.
std::optional<UnicodeFieldText> UnicodeEditText(HWND edit);

// Whether the ANSI code page writes the unit as bytes that read back as the same unit: neither
// its default character "?" nor a best-fit one ("e" for U+00E9 in code page 932).
bool AnsiCodePageWrites(char16_t unit);

// The text in the ANSI code page, for a text of units that it writes.
std::string AnsiText(const std::u16string& text);
