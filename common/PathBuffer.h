// The platform's path limit: a path buffer holds 259 characters and the terminator. A longer
// path is never cut to fit; the caller tells the user or fails instead.
#pragma once

#include "VelloraNames.h"

#include <string>

inline bool FitsPathBuffer(const std::string& path) {
    return path.size() < static_cast<std::string::size_type>(vellora::kPathBufferSize);
}
