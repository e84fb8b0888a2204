// Reads the printer's settings from "Vellora.ini" in the Windows directory, as the driver does.
#pragma once

#include "PrintSettings.h"

#include <string>

namespace vlprint {

// The settings file's full path; empty when the Windows directory cannot be had or the path
// would not fit a path buffer whole.
std::string SettingsFilePath();

PrintSettings ReadPrintSettings(const std::string& settingsPath);

} // namespace vlprint
