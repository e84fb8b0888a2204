#include "FolderPath.h"

#include "VelloraNames.h"

std::optional<std::string> FitPath(std::string path) {
    if (path.size() >= static_cast<std::size_t>(vellora::kPathBufferSize)) {
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
