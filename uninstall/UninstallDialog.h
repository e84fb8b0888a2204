// The uninstall dialog: tells the user what it will do; OK runs the uninstall procedure, shows
// its log in a box owned by the dialog and ends the process with exit code 1. Cancel, Escape and
// the close box end it having changed nothing.
#pragma once

#include "ModalDialog.h"
#include "UninstallLog.h"

class UninstallDialog : public ModalDialog {
  public:
    UninstallDialog();

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    HWND cancelButton = nullptr;
    HWND infoText = nullptr;
    UninstallLog log;
};
