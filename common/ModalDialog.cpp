#include "ModalDialog.h"

#include <vector>

ModalDialog::ModalDialog(int dialogTemplateId, int iconId)
    : icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId))),
      templateId(dialogTemplateId) {}

INT_PTR ModalDialog::DoModal(HWND parent) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        self->window = dialog;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR ModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_PAINT:
        return PaintIconWhenMinimised();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(icon);
    default:
        return FALSE;
    }
}

void ModalDialog::OnCommand(int id, int notification) {
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else if (notification == BN_CLICKED) {
        OnClicked(id);
    } else if (notification == EN_CHANGE) {
        OnEditChanged(id);
    } else if (notification == EN_KILLFOCUS) {
        OnEditLeft(id);
    }
}

BOOL ModalDialog::OnInitDialog() {
    CentreOnScreen();
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

void ModalDialog::CentreOnScreen() {
    RECT frame;
    GetWindowRect(window, &frame);
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int y = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Minimised, the dialog shows its icon centred in the client area.
bool ModalDialog::PaintIconWhenMinimised() {
    if (!IsIconic(window)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(context, x, y, icon);
    EndPaint(window, &paint);
    return true;
}

void ModalDialog::EndDialog(INT_PTR result) {
    ::EndDialog(window, result);
}

HWND ModalDialog::Item(int id) const {
    return GetDlgItem(window, id);
}

void ModalDialog::SetItemText(int id, const std::string& text) {
    SetDlgItemTextA(window, id, text.c_str());
}

void ModalDialog::ShowItemText(int id, const std::string& text) {
    if (ItemText(id) != text) {
        SetItemText(id, text);
    }
}

void ModalDialog::ShowCaption(const std::string& caption) {
    char shown[kLongestCaption + 2] = "";
    SendMessageA(window, WM_GETTEXT, sizeof(shown), reinterpret_cast<LPARAM>(shown));
    if (caption != shown) {
        SetWindowTextA(window, caption.c_str());
    }
}

std::string ModalDialog::ItemText(int id, int maxLength) {
    std::vector<char> buffer(static_cast<size_t>(maxLength) + 1, '\0');
    const UINT length = GetDlgItemTextA(window, id, buffer.data(), maxLength + 1);
    return std::string(buffer.data(), length);
}

// The length reported may exceed the text's (Windows NT, with two-byte characters), never fall
// short of it.
std::string ModalDialog::ItemText(int id) {
    return ItemText(id, static_cast<int>(SendDlgItemMessageA(window, id, WM_GETTEXTLENGTH, 0, 0)));
}

bool ModalDialog::IsChecked(int id) const {
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) != 0;
}

void ModalDialog::SetChecked(int id, bool checked) {
    SendDlgItemMessageA(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Only a change: under Wine every EnableWindow is a round trip to the window server.
void ModalDialog::EnableItem(int id, bool enabled) {
    HWND item = Item(id);
    const bool isEnabled = (GetWindowLongPtrA(item, GWL_STYLE) & WS_DISABLED) == 0;
    if (isEnabled != enabled) {
        EnableWindow(item, enabled);
    }
}
