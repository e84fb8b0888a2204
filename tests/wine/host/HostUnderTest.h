// The real host, driven as the printer driver drives it: texts in global atoms, requests sent
// to its hidden window, and its dialog and message boxes answered as a user would.
#pragma once

#include "WineTest.h"

#include <future>
#include <string>

namespace hosttest {

// A started host whose window has appeared.
struct RunningHost {
    explicit RunningHost(const std::string& arguments = "");
    winetest::Process process;
    HWND window;
};

// A new global atom with the text (a reference of its own even if the name exists already).
ATOM AddGlobalAtom(const std::string& text);
bool AtomExists(ATOM atom);

// The requests with their texts, each sent synchronously as the driver sends it. The atom of
// the produced file is released by the sender once the call has returned.
LRESULT SetOutputRoot(HWND host, const std::string& root);
LRESULT SetNameSuffix(HWND host, const std::string& suffix);
LRESULT PlaceOutput(HWND host, const std::string& producedPathWithoutExtension);
// Places one produced file from the spool folder with the suffix, as the driver does, and tells
// whether it landed at the expected path.
bool PlacedAt(HWND host, const std::string& spool, const std::string& suffix,
              const std::string& expectedPath);
// The same, sent from a thread of their own, for requests that open a dialog or a box.
std::future<LRESULT> SetOutputRootAsync(HWND host, const std::string& root);
std::future<LRESULT> PlaceOutputAsync(HWND host, const std::string& producedPathWithoutExtension);
std::future<LRESULT> SendRequestAsync(HWND host, UINT message);

// The host's save-file dialog ("Vellora 9x", with the file-name field 0x47c), or null.
HWND WaitForSaveDialog();
std::string SaveDialogFileName(HWND dialog);
// Types the name into the file-name field and presses OK, or presses Cancel; returns when the
// dialog has gone.
void ChooseInSaveDialog(HWND dialog, const std::string& name);
void CancelSaveDialog(HWND dialog);

// One of the host's message boxes ("Vellora 9x", with a text control), or null.
HWND WaitForHostBox();
// Reads the box's text, presses the button and returns the text; empty when no box came.
std::string AnswerHostBox(int button);

// The result of a request sent from another thread; -2 when it did not come in time.
LRESULT ResultOf(std::future<LRESULT>& request);

} // namespace hosttest
