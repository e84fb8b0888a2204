// The platform's path limit: a path buffer holds 259 characters and the terminator. A longer
// path is never cut to fit; the caller tells the user or fails instead.
#pragma once

#include "VelloraNames.h"

#include <string>

// Whether the path fits, also once `appended` more characters are added to it.
inline bool FitsPathBuffer(const std::string& path, std::string::size_type appended = 0) {
    return path.size() + appended < static_cast<std::string::size_type>(vellora::kPathBufferSize);
}
