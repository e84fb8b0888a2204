// The platform calls that the host's requests make, one per call. The program uses the Win32
// implementation; the unit tests put a stand-in in its place, so that every request, every
// answer of the user and every file failure can be followed without Windows.
#pragma once

#include "CodePageText.h"
#include "FileMove.h"

#include <cstdint>
#include <string>

// Message-box styles and the buttons that come back, with the platform's own values.
// MB_OK: an OK button and no icon.
constexpr unsigned kBoxStyleOk = 0x0;
// MB_YESNOCANCEL | MB_ICONQUESTION | MB_TASKMODAL.
constexpr unsigned kBoxStyleOverwriteQuestion = 0x2023;
constexpr int kButtonOk = 1;
constexpr int kButtonCancel = 2;
constexpr int kButtonYes = 6;
constexpr int kButtonNo = 7;

// How the save-file dialog ended.
enum class SaveDialogAnswer {
    chosen,      // the chosen full path is in the out parameter
    cancelled,   // cancelled, or the dialog could not be shown
    nameTooLong, // the name typed does not fit the dialog's file-name buffer
};

// Its lead-byte rule is that of the ANSI code page, which every text of the host is in.
class HostPlatform : public LeadByteRule {
  public:
    HostPlatform() = default;
    virtual ~HostPlatform() = default;
    HostPlatform(const HostPlatform&) = delete;
    HostPlatform& operator=(const HostPlatform&) = delete;

    // The whole name of a global atom; empty when the number names no atom.
    virtual std::string ReadAtomName(std::uint16_t atom) = 0;
    // Releases one reference of the atom.
    virtual void DeleteAtom(std::uint16_t atom) = 0;

    // The file system's calls, with which the host moves and deletes files (FileMove.h).
    virtual FileCalls& Files() = 0;

    // The save-file dialog with no owner, opened on a folder with a file name filled in.
    virtual SaveDialogAnswer AskForSaveFileName(const std::string& folder,
                                                const std::string& fileName,
                                                std::string& chosenPath) = 0;
    // A message box with no owner window and the caption "Vellora 9x"; the button pressed, or
    // 0 when the box could not be shown.
    virtual int ShowMessageBox(const std::string& text, unsigned style) = 0;

    // The printer-driver directory of the local machine, whole; false when it is not known.
    virtual bool PrinterDriverDirectory(std::string& directory) = 0;
    // Starts the program with an empty argument list and returns when it has ended; nothing
    // happens when it cannot be started.
    virtual void RunProgramAndWait(const std::string& programPath) = 0;
    // Ends the process with this exit code; the windows and files it holds go with it.
    virtual void EndProcess(int exitCode) = 0;
};
