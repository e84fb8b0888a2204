// The check of an output root that the driver hands over.
#pragma once

#include "CodePageText.h"

#include <string>

// 1 when the root is usable: "%20" is then decoded to spaces. 0 when it is empty (it stays
// empty) or holds a character that no path may hold (it becomes "c:\VelloraDoc"). The root is
// read by the characters of its code page.
int ValidateOutputRoot(std::string& path, const LeadByteRule& codePage);
