#include "DialogPath.h"

DialogPath SplitPathForDialog(const std::string& path, const LeadByteRule& codePage) {
    const auto lastBackslash = FindLastCharacter(path, '\\', codePage);
    if (lastBackslash == std::string::npos || lastBackslash + 1 == path.size()) {
        return {path, ""};
    }
    return {path.substr(0, lastBackslash), path.substr(lastBackslash + 1)};
}
