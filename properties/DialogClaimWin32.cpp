#include "DialogClaimWin32.h"

namespace {

// Mutexes share their names with the events, semaphores and file mappings of every program.
constexpr const char* kClaimName = "Vellora 9x properties dialog";
// While the other copy sets its dialog up, or shows a box instead of it.
constexpr DWORD kLookAgainMs = 50;

bool Ended(HANDLE claim, DWORD timeoutMs) {
    // WAIT_OBJECT_0 when the other copy let go of the claim, WAIT_ABANDONED when it ended
    // holding it; either way the claim is this copy's now, and is let go of at once.
    if (WaitForSingleObject(claim, timeoutMs) == WAIT_TIMEOUT) {
        return false;
    }
    ReleaseMutex(claim);
    return true;
}

} // namespace

DialogClaim::DialogClaim() {
    // A call that makes the mutex need not clear the last error.
    SetLastError(ERROR_SUCCESS);
    mutex = CreateMutexA(nullptr, TRUE, kClaimName);
    // Without a mutex nothing can be told: the dialog shows.
    heldElsewhere = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

void DialogClaim::FrontTheOtherDialogUntilItCloses(const char* dialogCaption) const {
    while (!Ended(mutex, kLookAgainMs)) {
        const HWND dialog = FindWindowA("#32770", dialogCaption);
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            // Windows 98 and 2000 on let only a program the user just started take the
            // foreground: this copy, not the one that has been open a while.
            SetForegroundWindow(dialog);
            Ended(mutex, INFINITE);
            return;
        }
    }
}
