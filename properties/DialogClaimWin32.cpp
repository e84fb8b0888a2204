#include "DialogClaimWin32.h"

namespace {

// Mutexes share their names with the events, semaphores and file mappings of every program.
constexpr const char* kClaimName = "Vellora 9x properties dialog";
// While the other copy sets its dialog up.
constexpr DWORD kLookAgainMs = 50;
// The other copy shows its dialog within a few seconds of its start even on a slow machine.
// The boxes it can show before it end that copy: the box that the settings file cannot be
// located, which this copy would show as well, and the box of an internal failure. So a dialog
// that has not shown after 10 s never will: the name is held by a copy that hangs or by another
// program, and waiting longer would leave the user, and the host that waits for this copy,
// without any dialog. The looks are counted, as each one waits for the claim that long.
constexpr int kLooksBeforeOwnDialog = 10000 / kLookAgainMs;

// WAIT_OBJECT_0 when the other copy let go of the claim, WAIT_ABANDONED when it ended holding
// it; either way the claim is this copy's now.
bool ClaimTaken(HANDLE claim, DWORD timeoutMs) {
    return WaitForSingleObject(claim, timeoutMs) != WAIT_TIMEOUT;
}

} // namespace

DialogClaim::DialogClaim() {
    // A call that makes the mutex need not clear the last error.
    SetLastError(ERROR_SUCCESS);
    mutex = CreateMutexA(nullptr, TRUE, kClaimName);
    // Without a mutex nothing can be told: the dialog shows.
    heldElsewhere = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool DialogClaim::FrontedTheOtherDialogUntilItClosed(const char* dialogCaption) const {
    for (int look = 0; look < kLooksBeforeOwnDialog; ++look) {
        if (ClaimTaken(mutex, kLookAgainMs)) {
            return false;
        }
        const HWND dialog = FindWindowA("#32770", dialogCaption);
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            // Windows 98 and 2000 on let only a program the user just started take the
            // foreground: this copy, not the one that has been open a while.
            SetForegroundWindow(dialog);
            ClaimTaken(mutex, INFINITE);
            return true;
        }
    }
    return false;
}
