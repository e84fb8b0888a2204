// The host object: one per hidden window, holding the state that the driver's requests build up.
// Kept free of <windows.h> so that the request logic is tested natively; the handles are the
// platform's opaque handle types, declared here only by name, and every other platform call
// goes through the HostPlatform the object is given.
#pragma once

#include "HostPlatform.h"

#include <cstdint>
#include <string>

struct HWND__;

// How a placement ended for the user, and so what becomes of the file at the produced path.
enum class PlacementOutcome {
    placed,            // at the target's name; nothing at the produced path is to be discarded
    placedLeavingCopy, // at the target's name as a copy: the produced file is to be discarded
    notPlaced,         // a box told why, or the user gave up after Yes
    cancelled,         // the user cancelled
};
// What the driver hears of a print, in the protocol's numbers.
enum class PrintResult : std::int32_t {
    placedOrNone = 0,         // at the target's name, or there was no file to place
    discardedOrCancelled = 1, // the user cancelled, or the host deleted the produced file
};
// How the user left the save-file dialog.
enum class Choice { chosen, cancelled };
struct HINSTANCE__;

class HostWindow {
  public:
    explicit HostWindow(HostPlatform& hostPlatform) : platform(hostPlatform) {}
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Registers the window class and creates the hidden window, which keeps this object. False
    // when the class or the window could not be had.
    bool CreateHostWindow(HINSTANCE__* programInstance, const char* windowName,
                          const char* windowClassName);

    // Every message numbered 1024 or higher that reaches this object's window.
    std::int32_t HandleHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Moves the produced file to the target, asking before it overwrites a file and showing
    // every other failure.
    PlacementOutcome PlaceOutputFile(std::string producedPath, std::string target);
    // The save-file dialog on `outputRoot`; when a path is chosen, it is now `outputRoot`.
    // `appendedLength` characters will be added to it: a name that cannot take them is refused.
    Choice PromptForOutputRoot(std::size_t appendedLength);
    // The save-file dialog opened on the path; when a name is chosen that can take
    // `appendedLength` more characters, the path is then the chosen full path.
    Choice ShowSaveDialog(std::string& path, std::size_t appendedLength);
    // The printer-driver directory, a backslash and the file name; false when the directory is
    // not known.
    bool GetDriverFilePath(const char* fileName, std::string& path);

    HWND__* window = nullptr;
    HINSTANCE__* instance = nullptr;
    char className[256] = "";
    int launchInProgress = 0;
    std::string outputRoot;
    std::string targetPath;
    std::string nameSuffix;
    HostPlatform& platform;

  private:
    std::int32_t OnSetNameSuffix(std::uintptr_t wParam);
    std::int32_t OnPlaceOutput(std::uintptr_t wParam);
    PrintResult PlaceProducedFile(const std::string& atomText);
    std::int32_t OnExit();
    std::int32_t OnSetOutputRoot(std::uintptr_t wParam);
    std::int32_t OnOpenProperties();

    std::string ReadAtomText(std::uintptr_t wParam);
    std::string ReadUncutAtomText(std::uintptr_t wParam);
    PrintResult RefuseProducedPath();
    std::string TakeAtomText(std::uintptr_t wParam);
    PlacementOutcome PlaceProduced(const ProducedFile& produced, std::string target);
    PlacementOutcome Place(const ProducedFile& produced, const std::string& target,
                           ExistingTarget existing, const FileStamp& answeredFor);
    MoveResult MoveWithinPathLimit(const ProducedFile& produced, const std::string& target,
                                   ExistingTarget existing, const FileStamp& answeredFor);
    bool DiscardProducedFile(const ProducedFile& produced);
    PlacementOutcome AskBeforeOverwrite(const ProducedFile& produced, const std::string& target);
    PlacementOutcome ReplaceTarget(const ProducedFile& produced, const std::string& target,
                                   const FileStamp& answeredFor);
    bool IsStillThere(const ProducedFile& produced);
    PlacementOutcome ProducedFileGone();
    FileStamp StampOf(const std::string& path);
    PlacementOutcome PlaceUnderNewRoot(const ProducedFile& produced);
};
