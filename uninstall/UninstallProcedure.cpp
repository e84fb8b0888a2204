#include "UninstallProcedure.h"

#include "FolderPath.h"
#include "SettingsFilePath.h"
#include "VelloraNames.h"

void RunUninstall(UninstallPlatform& platform, UninstallLog& log) {
    log.Set("Starting uninstall...\n");
    // The printer is the gate: while it is installed, nothing it relies on may go.
    if (RemovePrinter(platform, log)) {
        RemoveProgramFiles(platform, log);
        RemoveStartupEntry(platform);
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
    AppendFileLine(log, vellora::kHostProgramFile, hostDeleted);
    const std::optional<std::string> settingsFile =
        SettingsFilePath(platform.WindowsDirectory().value_or(std::string()));
    const bool settingsDeleted = settingsFile && platform.DeleteFileAtPath(*settingsFile);
    AppendFileLine(log, vellora::kSettingsFile, settingsDeleted);
    RemoveStartMenuItems(platform);
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

void RemoveStartMenuItems(UninstallPlatform& platform) {
    for (const char* shortcut : vellora::kShortcutNames) {
        RemoveShortcut(platform, vellora::kStartMenuFolder, shortcut);
    }
}

bool RemoveShortcut(UninstallPlatform& platform, const std::string& folderName,
                    const std::string& shortcutName) {
    const std::optional<std::string> programs = GetSpecialFolderPath(platform, kProgramsFolderId);
    if (!programs) {
        return false;
    }
    const std::optional<std::string> productFolder = FitPath(*programs + folderName + "\\");
    if (!productFolder) {
        return true;
    }
    const std::optional<std::string> shortcut =
        FitPath(*productFolder + shortcutName + "." + vellora::kShortcutExtension);
    if (shortcut) {
        platform.DeleteFileAtPath(*shortcut);
    }
    // Fails while the folder still holds anything, a file of the user's for one.
    platform.RemoveFolder(*productFolder);
    return true;
}

std::optional<std::string> GetSpecialFolderPath(UninstallPlatform& platform, int folderId) {
    const std::optional<std::string> folder = platform.ShellFolderPath(folderId);
    if (!folder || folder->empty()) {
        return std::nullopt;
    }
    return FitPath(*folder + "\\");
}

namespace {

bool StartupValueExists(UninstallPlatform& platform) {
    HKEY__* key = platform.OpenMachineKey(vellora::kStartupKey);
    if (!key) {
        return false;
    }
    const bool exists = platform.QueryValue(key, vellora::kStartupValue);
    platform.CloseKey(key);
    return exists;
}

void DeleteStartupValue(UninstallPlatform& platform) {
    HKEY__* key = platform.OpenMachineKey(vellora::kStartupKey);
    if (!key) {
        return;
    }
    if (platform.QueryValue(key, vellora::kStartupValue)) {
        platform.DeleteValue(key, vellora::kStartupValue);
    }
    platform.CloseKey(key);
}

} // namespace

void RemoveStartupEntry(UninstallPlatform& platform) {
    if (StartupValueExists(platform)) {
        DeleteStartupValue(platform);
    }
}
