#include "UninstallProcedure.h"

#include "FolderPath.h"
#include "SettingsFilePath.h"
#include "VelloraNames.h"

void RunUninstall(UninstallPlatform& platform, UninstallLog& log) {
    log.Set("Starting uninstall...\n");
    // The printer is the gate: while it is installed, nothing it relies on may go.
    if (RemovePrinter(platform, log)) {
        RemoveProgramFiles(platform, log);
        // A value that was deleted or never there has no line: the six lines of a complete run.
        if (!RemoveStartupEntry(platform)) {
            AppendRemovalLine(log, vellora::kStartupValue, false);
        }
    }
    log.Append("Uninstallation finished.\n");
}

bool RemovePrinter(UninstallPlatform& platform, UninstallLog& log) {
    void* printer = nullptr;
    if (!platform.OpenPrinterForRemoval(vellora::kPrinterName, &printer)) {
        return AppendErrorLine(log, "\tDriver can not be opened...", platform.LastErrorCode());
    }
    const bool deleted = platform.DeletePrinterAt(printer);
    // Taken before closing: the log is to tell why the deletion failed, not how closing went.
    const std::int32_t deleteError = deleted ? 0 : platform.LastErrorCode();
    platform.ClosePrinterHandle(printer);
    if (!deleted) {
        return AppendErrorLine(log, "\tDriver uninstall failed...", deleteError);
    }
    log.Append("  Driver deleted...\n");
    return true;
}

void RemoveProgramFiles(UninstallPlatform& platform, UninstallLog& log) {
    StopHost(platform);
    log.Append("Deleting driver files...\n");
    const bool hostDeleted =
        DeleteFileInFolder(platform, platform.PrinterDriverDirectory(), vellora::kHostProgramFile);
    AppendRemovalLine(log, vellora::kHostProgramFile, hostDeleted);
    const std::optional<std::string> settingsFile =
        SettingsFilePath(platform.WindowsDirectory().value_or(std::string()));
    const bool settingsDeleted = settingsFile && platform.DeleteFileAtPath(*settingsFile);
    AppendRemovalLine(log, vellora::kSettingsFile, settingsDeleted);
    RemoveStartMenuItems(platform, log);
}

void StopHost(UninstallPlatform& platform) {
    // By its class too: another program's window may bear the host's name.
    if (HWND__* host =
            platform.FindTopLevelWindow(vellora::kHostWindowClass, vellora::kHostWindowName)) {
        platform.PostRequest(host, vellora::HM_EXIT);
    }
    // A host that is still running holds its program file: give it the time to end.
    platform.Wait(kHostExitWaitMs);
}

bool DeleteFileInFolder(UninstallPlatform& platform, const std::optional<std::string>& folder,
                        const std::string& name) {
    const std::optional<std::string> path = JoinFolderAndName(folder, name);
    return path && platform.DeleteFileAtPath(*path);
}

void RemoveStartMenuItems(UninstallPlatform& platform, UninstallLog& log) {
    for (const char* shortcut : vellora::kShortcutNames) {
        if (RemoveShortcut(platform, vellora::kStartMenuFolder, shortcut) ==
            ShortcutOutcome::Stayed) {
            const std::string fileName = std::string(shortcut) + "." + vellora::kShortcutExtension;
            AppendRemovalLine(log, fileName.c_str(), false);
        }
    }
}

namespace {

// Looked for after the deletion whatever that returned: a file that another program holds open
// with delete sharing is only marked for deletion, and stays as long as that program keeps it.
bool StaysAfterDeletion(UninstallPlatform& platform, const std::string& path) {
    platform.DeleteFileAtPath(path);
    return platform.PathExists(path);
}

} // namespace

ShortcutOutcome RemoveShortcut(UninstallPlatform& platform, const std::string& folderName,
                               const std::string& shortcutName) {
    const std::optional<std::string> programs = GetSpecialFolderPath(platform, kProgramsFolderId);
    if (!programs) {
        return ShortcutOutcome::FolderUnknown;
    }
    // A path that does not fit a path buffer names no file that could be there.
    const std::optional<std::string> productFolder = FitPath(*programs + folderName + "\\");
    if (!productFolder) {
        return ShortcutOutcome::Gone;
    }
    const std::optional<std::string> shortcut =
        FitPath(*productFolder + shortcutName + "." + vellora::kShortcutExtension);
    // A shortcut that was not there is no failure.
    const bool stayed = shortcut && StaysAfterDeletion(platform, *shortcut);
    // Fails while the folder still holds anything, a file of the user's for one.
    platform.RemoveFolder(*productFolder);
    return stayed ? ShortcutOutcome::Stayed : ShortcutOutcome::Gone;
}

std::optional<std::string> GetSpecialFolderPath(UninstallPlatform& platform, int folderId) {
    const std::optional<std::string> folder = platform.ShellFolderPath(folderId);
    if (!folder || folder->empty()) {
        return std::nullopt;
    }
    return FitPath(*folder + "\\");
}

namespace {

// Whether the key, opened so, holds the value; nothing when it does not open so.
std::optional<bool> StartupValueSeen(UninstallPlatform& platform, KeyAccess access) {
    HKEY__* key = platform.OpenMachineKey(vellora::kStartupKey, access);
    if (!key) {
        return std::nullopt;
    }
    const bool exists = platform.QueryValue(key, vellora::kStartupValue);
    platform.CloseKey(key);
    return exists;
}

// True when the value is gone.
bool DeleteStartupValue(UninstallPlatform& platform) {
    HKEY__* key = platform.OpenMachineKey(vellora::kStartupKey, KeyAccess::Full);
    if (!key) {
        return false;
    }
    const bool gone = !platform.QueryValue(key, vellora::kStartupValue) ||
                      platform.DeleteValue(key, vellora::kStartupValue);
    platform.CloseKey(key);
    return gone;
}

} // namespace

bool RemoveStartupEntry(UninstallPlatform& platform) {
    const std::optional<bool> exists = StartupValueSeen(platform, KeyAccess::Full);
    if (!exists) {
        // A key that may not be changed can still hold the value, which then stays.
        return !StartupValueSeen(platform, KeyAccess::Read).value_or(false);
    }
    return !*exists || DeleteStartupValue(platform);
}
