// EmptyDialog.exe: the floor against which the properties program's start-up is measured. One
// modal dialog of the same frame through the same dialog layer, without controls or settings.
#include "EmptyDialogResources.h"
#include "ModalDialog.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ModalDialog dialog(IDD_EMPTY_DIALOG, IDI_EMPTY_DIALOG);
    return dialog.DoModal() == -1 ? 1 : 0;
}
