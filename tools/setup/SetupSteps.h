// The setup tool's steps on Windows: each one creates one item of an installation, says on
// standard output what it did and on standard error why it failed, and returns whether it
// succeeded.
#pragma once

#include "WindowsPaths.h"

#include <string>

// The folders involved besides those of WindowsPaths.h; empty when the system cannot tell.
std::string ToolFolder();
std::string ProgramsFolder();

bool CopyPrograms(const std::string& sourceFolder, const std::string& driverDirectory);
bool InstallPrinter(const std::string& driverDirectory);
bool WriteSettingsFile(const std::string& windowsDirectory);
bool WriteStartupValue(const std::string& driverDirectory);
bool CreateStartMenuItems(const std::string& sourceFolder, const std::string& driverDirectory);
// Starts the host from the printer-driver directory unless one runs already, and waits for its
// window.
bool StartHost(const std::string& driverDirectory);
// One line per item: "present" or "absent" and what it is.
void PrintStatus();
