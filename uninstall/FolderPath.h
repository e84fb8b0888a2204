// Paths as the uninstaller builds them: every folder path and every full file path fits a path
// buffer (PathBuffer.h). A path that would not fit is no path at all, so that nothing is ever
// deleted through a path cut short.
#pragma once

#include <optional>
#include <string>

// The path itself when it fits a path buffer.
std::optional<std::string> FitPath(std::string path);

// The folder, one backslash and the name; nothing when the folder is unknown or empty or the
// joined path does not fit.
std::optional<std::string> JoinFolderAndName(const std::optional<std::string>& folder,
                                             const std::string& name);
