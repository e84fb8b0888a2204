// One properties dialog at a time, on every Windows from 95 on. The first copy of the program
// holds a named mutex for as long as it runs. A later copy, started from the Start menu, by a
// double-click or by the host, brings the open dialog to the front and ends when the copy that
// shows it has ended. The host waits for the copy it started, so its request still returns only
// once the user has closed the dialog that is open. A later copy that finds no dialog to bring
// to the front shows its own: the other copy had closed its dialog and was ending, or whatever
// holds the name shows no dialog.
#pragma once

#include <windows.h>

class DialogClaim {
  public:
    // Claims the dialog for this copy, unless another copy holds the claim.
    DialogClaim();

    // Whether another copy of the program holds the claim.
    bool HeldElsewhere() const { return heldElsewhere; }
    // Brings the other copy's dialog with this caption to the front once it shows, and returns
    // true when that copy has ended. Returns false, for this copy to show its own dialog, when
    // the claim became this copy's before such a dialog showed (it then stays this copy's), or
    // when none showed in time.
    bool FrontedTheOtherDialogUntilItClosed(const char* dialogCaption) const;

  private:
    // Released by the system when the process ends, however it ends.
    HANDLE mutex = nullptr;
    bool heldElsewhere = false;
};
