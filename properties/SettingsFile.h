// The settings file "Vellora.ini" in the Windows directory, read and written through the
// platform's private-profile calls, for the properties dialog and the driver stand-in. Every
// group of reads or writes builds the path anew.
#pragma once

#include "SettingsRules.h"

#include "VelloraNames.h"

#include <cstdint>
#include <string>

// The Windows directory, a backslash and "Vellora.ini". False, with the buffer empty, when the
// directory cannot be determined or the path would not fit.
bool BuildSettingsPath(char (&path)[vellora::kPathBufferSize]);

// Tells the user that the settings file cannot be located, in a box captioned "Vellora 9x".
void ReportSettingsPathUnknown();

// Reads the key into the buffer, cut to size - 1 characters, or the default when the file,
// section or key is missing or the value is empty. Always true.
bool ReadSettingString(std::uint32_t size, char* buffer, const char* section, const char* key,
                       const char* defaultValue, const char* path);

// Stores the value under the key, creating the file and the section when missing. A failure is
// shown in a box "Error writing string to INI file." and otherwise ignored. Always true.
bool WriteSettingString(const char* value, const char* section, const char* key, const char* path);

// The four settings, read in the table's order.
Settings ReadSettings(const char* path);

// Stores the value under the key of the section "Setup", as WriteSettingString does.
void WriteSetting(const char* key, const std::string& value, const char* path);
