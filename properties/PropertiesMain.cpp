// VlExProp.exe: the advanced properties of the printer, one modal dialog and then the end.
#include "AdvancedPropertiesDialog.h"
#include "DialogClaimWin32.h"

#include <windows.h>

namespace {

// The program's whole run: the dialog, or the one another copy shows, and no message loop of
// its own after it. The exit code says only whether a dialog could be shown; nobody who starts
// the program looks at it.
class AdvancedPropertiesApp {
  public:
    int Run() {
        const DialogClaim claim;
        if (claim.HeldElsewhere() &&
            claim.FrontedTheOtherDialogUntilItClosed(AdvancedPropertiesDialog::kCaption)) {
            return 0;
        }
        AdvancedPropertiesDialog dialog;
        return dialog.DoModal() == -1 ? 1 : 0;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AdvancedPropertiesApp app;
    return app.Run();
}
