// What kind of thing a path names, read by the characters of its code page: a file's full path,
// a device, or a name that Windows reads as something other than a plain file.
#pragma once

#include "CodePageText.h"

#include <string>

// Whether the path begins with a drive letter and a backslash ("C:\"), or names a share
// ("\\server\share\..."): a path that means the same whatever the current folder is.
bool IsFullPath(const std::string& path, const LeadByteRule& codePage);

// Whether Windows takes the path's file name for a device whatever its folder and extension:
// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 and the like, in any case, with spaces,
// an extension or a colon after the name.
bool NamesDevice(const std::string& path, const LeadByteRule& codePage);

// Whether the path can name nothing but a plain file: no device, no stream of a file ("Doc:x"),
// no path of the system's own namespaces ("\\.\", "\\?\"), and none of the characters that
// Windows refuses or reads as wildcards in a file name.
bool NamesPlainFile(const std::string& path, const LeadByteRule& codePage);
