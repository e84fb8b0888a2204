#include "UninstallDialog.h"

#include "UninstallPlatformWin32.h"
#include "UninstallProcedure.h"
#include "UninstallResources.h"

namespace {

constexpr const char* kCaption = "Vellora 9x uninstall";
constexpr const char* kInfoText =
    "In order to uninstall Vellora 9x printer driver, please click 'OK'.";
constexpr const char* kCancelText = "&Cancel";
// Whatever the procedure achieved: the log has told the user.
constexpr UINT kExitCodeAfterRun = 1;

} // namespace

UninstallDialog::UninstallDialog() : ModalDialog(IDD_UNINSTALL_DIALOG, IDI_UNINSTALL) {}

BOOL UninstallDialog::OnInitDialog() {
    ModalDialog::OnInitDialog();
    cancelButton = Item(IDCANCEL);
    infoText = Item(IDC_INFO_TEXT);
    // The template's texts are never seen: these are in place before the dialog first shows.
    SetWindowTextA(infoText, kInfoText);
    SetWindowTextA(cancelButton, kCancelText);
    SetWindowTextA(Window(), kCaption);
    return TRUE;
}

void UninstallDialog::OnOK() {
    Win32UninstallPlatform platform;
    RunUninstall(platform, log);
    MessageBoxA(Window(), log.Text(), kCaption, MB_OK);
    // There is no way back to the dialog: it goes away with the process.
    ExitProcess(kExitCodeAfterRun);
}
