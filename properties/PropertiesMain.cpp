// VlExProp.exe: the advanced properties of the printer, one modal dialog and then the end.
#include "AdvancedPropertiesDialog.h"

#include <windows.h>

namespace {

// The program's whole run: the dialog, and no message loop of its own after it. The exit code
// says only whether the dialog could be shown; nobody who starts the program looks at it.
class AdvancedPropertiesApp {
  public:
    int Run() {
        AdvancedPropertiesDialog dialog;
        return dialog.DoModal() == -1 ? 1 : 0;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AdvancedPropertiesApp app;
    return app.Run();
}
