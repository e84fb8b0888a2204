// The check of an output root that the driver hands over.
#pragma once

#include "CodePageText.h"

#include <string>

// True when the root is usable: "%20" is then decoded to spaces. False when it is empty (it
// stays empty) or holds a character that no path may hold (it becomes "c:\VelloraDoc"). The
// root is read by the characters of its code page.
bool ValidateOutputRoot(std::string& path, const LeadByteRule& codePage);
