// The host object: one per hidden window, holding the state that the driver's requests build up.
// Kept free of <windows.h> so that the request logic is tested natively; the handles are the
// platform's opaque handle types, declared here only by name, and every other platform call
// goes through the HostPlatform the object is given.
#pragma once

#include "HostPlatform.h"

#include <cstdint>
#include <string>

struct HWND__;
struct HINSTANCE__;

class HostWindow {
  public:
    explicit HostWindow(HostPlatform& hostPlatform) : platform(hostPlatform) {}
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Registers the window class and creates the hidden window, which keeps this object.
    // Returns 1 on success, 0 when the class or the window could not be had.
    int CreateHostWindow(HINSTANCE__* programInstance, const char* windowName,
                         const char* windowClassName);

    // Every message numbered 1024 or higher that reaches this object's window.
    std::int32_t HandleHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Moves the produced file to the target, asking before it overwrites a file and showing
    // every other failure. 1 when the user cancelled the placement, 0 in every other case.
    int PlaceOutputFile(std::string producedPath, std::string target);
    // The save-file dialog on `outputRoot`. 1 when cancelled, 0 when the chosen path is now
    // `outputRoot`.
    int PromptForOutputRoot();
    // The save-file dialog opened on the path. 1 when a name was chosen (the path is then the
    // chosen full path), 0 when the dialog was cancelled.
    int ShowSaveDialog(std::string& path);
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
    std::int32_t OnExit();
    std::int32_t OnSetOutputRoot(std::uintptr_t wParam);
    std::int32_t OnOpenProperties();

    std::string ReadAtomText(std::uintptr_t wParam);
    std::string TakeAtomText(std::uintptr_t wParam);
    int MoveWithinPathLimit(const std::string& producedPath, const std::string& target);
    int AskBeforeOverwrite(const std::string& producedPath, const std::string& target);
    int PlaceUnderNewRoot(const std::string& producedPath);
};
