// The uninstall procedure: deletes the printer and, only when that succeeded, stops the host
// and removes its program file, the settings file, the Start-menu items and the start-up value.
// Its outcome is the log; nothing here shows anything to the user.
#pragma once

#include "UninstallLog.h"
#include "UninstallPlatform.h"

#include <optional>
#include <string>

// The Programs folder of the Start menu, as the shell numbers its special folders.
constexpr int kProgramsFolderId = 2;
// How long the host gets to end after the exit request before its file is deleted.
constexpr unsigned kHostExitWaitMs = 1000;

// The whole run; sets the log anew, then appends to it.
void RunUninstall(UninstallPlatform& platform, UninstallLog& log);

// True when the printer was deleted; appends exactly one printer line.
bool RemovePrinter(UninstallPlatform& platform, UninstallLog& log);

// Stops the host, deletes the host program file and the settings file with one line each,
// then removes the Start-menu items, with a line for each shortcut that stayed.
void RemoveProgramFiles(UninstallPlatform& platform, UninstallLog& log);

// Asks the host to exit and gives it the time to do so; does not check that it has ended.
void StopHost(UninstallPlatform& platform);

// True when the file <folder>\<name> was deleted. Nothing is deleted when the folder is unknown
// or the joined path does not fit.
bool DeleteFileInFolder(UninstallPlatform& platform, const std::optional<std::string>& folder,
                        const std::string& name);

// The three shortcuts and the product's Start-menu folder. Logs a failure line for each
// shortcut that is still there after its deletion; a missing one, and a folder that stays for
// a file of the user's, are no failure.
void RemoveStartMenuItems(UninstallPlatform& platform, UninstallLog& log);

// What one shortcut's removal left.
enum class ShortcutOutcome {
    Gone,          // deleted, or never there
    Stayed,        // still there after its deletion
    FolderUnknown, // the Programs folder could not be resolved: nothing was tried
};

// Deletes one shortcut from the product's Start-menu folder, then removes the folder if it has
// become empty.
ShortcutOutcome RemoveShortcut(UninstallPlatform& platform, const std::string& folderName,
                               const std::string& shortcutName);

// The special folder's path with a backslash appended.
std::optional<std::string> GetSpecialFolderPath(UninstallPlatform& platform, int folderId);

// Deletes the host's start-up value when it exists. False when it is there and could not be
// deleted, also when its key opens only for reading.
bool RemoveStartupEntry(UninstallPlatform& platform);
