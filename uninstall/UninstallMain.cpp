// Uninstall.exe: removes the printer "Vellora 9x" and what the installation put on the machine,
// after the user has confirmed it in a dialog. Reads neither its command line nor the
// environment.
#include "UninstallDialog.h"

#include <windows.h>

namespace {

// The application: its start-up runs the one dialog, and the program ends when it closes.
class UninstallApp {
  public:
    // Returns only when the dialog was cancelled (OK ends the process); the result is the
    // program's exit code.
    int Run() {
        UninstallDialog dialog;
        dialog.DoModal();
        return 0;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    UninstallApp application;
    return application.Run();
}
