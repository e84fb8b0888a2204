// How a path opens the save-file dialog: a folder to show and a file name to fill in.
#pragma once

#include "CodePageText.h"

#include <string>

struct DialogPath {
    std::string folder;
    std::string fileName;
};

// A path ending in a backslash, or holding none, is the folder alone; otherwise the text after
// the last backslash is the file name and the text before it the folder. Only a backslash
// that is a character of its own counts, never the second byte of a two-byte character.
DialogPath SplitPathForDialog(const std::string& path, const LeadByteRule& codePage);
