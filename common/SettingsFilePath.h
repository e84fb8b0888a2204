// Where the settings file lies, for every program that reads, writes, installs or removes it.
#pragma once

#include "PathBuffer.h"
#include "VelloraNames.h"

#include <optional>
#include <string>
#include <string_view>

// The Windows directory, one backslash (always, even after a drive root's own) and
// "Vellora.ini"; nothing when the directory is unknown (empty) or the whole path would not fit
// a path buffer: the file is never read, written or deleted through a path cut short.
inline std::optional<std::string> SettingsFilePath(std::string_view windowsDirectory) {
    std::string path(windowsDirectory);
    path.append("\\").append(vellora::kSettingsFile);
    if (windowsDirectory.empty() || !FitsPathBuffer(path)) {
        return std::nullopt;
    }
    return path;
}
