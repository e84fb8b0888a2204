// A small modal-dialog layer for the two dialog programs: a dialog from a resource template
// with the program's icon, run modally; the derived class keeps its data and overrides the
// handlers it needs. Callers never touch the dialog's window handle.
#pragma once

#include <windows.h>

#include <string>

class ModalDialog {
  public:
    ModalDialog(int templateId, int iconId);
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Shows the dialog and returns when it has ended, with the result given to EndDialog
    // (IDOK, IDCANCEL), or -1 when it could not be created.
    INT_PTR DoModal(HWND parent = nullptr);

  protected:
    // Centres the dialog and sets the icon as its big and small icon. Overrides call this
    // first; the result says whether the system is to set the focus itself.
    virtual BOOL OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // BN_CLICKED of any control other than OK and Cancel.
    virtual void OnClicked(int /*controlId*/) {}
    // EN_CHANGE: an edit control's text has changed, whoever changed it.
    virtual void OnEditChanged(int /*controlId*/) {}
    // EN_KILLFOCUS: the keyboard focus has left an edit control.
    virtual void OnEditLeft(int /*controlId*/) {}

    void EndDialog(INT_PTR result);
    HWND Window() const { return window; }
    HWND Item(int id) const;
    void SetItemText(int id, const std::string& text);
    // Sets the text unless the control shows it already: under Wine each text set is a round
    // trip to the window server, which a dialog's start-up would pay for nothing.
    void ShowItemText(int id, const std::string& text);
    // Sets the dialog's caption unless it shows that one already.
    void ShowCaption(const std::string& caption);
    // The control's text, at most maxLength characters.
    std::string ItemText(int id, int maxLength);
    // The control's whole text.
    std::string ItemText(int id);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    void EnableItem(int id, bool enabled);

    HICON icon;

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int notification);
    bool PaintIconWhenMinimised();
    void CentreOnScreen();

    // Longer than any caption of the two dialogs; a longer one shown is read cut, and so differs.
    static constexpr int kLongestCaption = 64;

    int templateId;
    HWND window = nullptr;
};
