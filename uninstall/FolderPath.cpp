#include "FolderPath.h"

#include "PathBuffer.h"

std::optional<std::string> FitPath(std::string path) {
    if (!FitsPathBuffer(path)) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> JoinFolderAndName(const std::optional<std::string>& folder,
                                             const std::string& name) {
    if (!folder || folder->empty()) {
        return std::nullopt;
    }
    return FitPath(*folder + "\\" + name);
}
