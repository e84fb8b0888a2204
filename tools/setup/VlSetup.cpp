// VlSetup.exe: creates on a Windows or Wine machine what an installation of the printer
// "Vellora 9x" creates, so that the uninstaller and the demo have something real to work on.
// Not part of what is installed. "VlSetup" without arguments prints the usage.
#include "SetupCommandLine.h"
#include "SetupSteps.h"

#include <windows.h>

#include <objbase.h>

#include <cstdio>

namespace {

constexpr int kSucceeded = 0;
constexpr int kStepFailed = 1;
constexpr int kUsageError = 2;

int Install(const SetupOptions& options) {
    const std::string source = options.sourceFolder.empty() ? ToolFolder() : options.sourceFolder;
    const std::string driverDirectory = PrinterDriverDirectory();
    const std::string windowsDirectory = WindowsDirectory();
    if (source.empty() || driverDirectory.empty() || windowsDirectory.empty()) {
        std::fprintf(stderr, "VlSetup: the tool's folder, the printer-driver directory or the "
                             "Windows directory is unknown\n");
        return kStepFailed;
    }
    bool ok = CopyPrograms(source, driverDirectory);
    ok = (!options.printer || InstallPrinter(driverDirectory)) && ok;
    ok = (!options.settingsFile || WriteSettingsFile(windowsDirectory)) && ok;
    ok = (!options.startupValue || WriteStartupValue(driverDirectory)) && ok;
    ok = (!options.shortcuts || CreateStartMenuItems(source, driverDirectory)) && ok;
    ok = (!options.startHost || StartHost(driverDirectory)) && ok;
    return ok ? kSucceeded : kStepFailed;
}

int Run(const SetupOptions& options) {
    switch (options.command) {
    case SetupCommand::Install:
        return Install(options);
    case SetupCommand::StartHost:
        return StartHost(PrinterDriverDirectory()) ? kSucceeded : kStepFailed;
    case SetupCommand::Status:
        PrintStatus();
        return kSucceeded;
    }
    return kUsageError;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        ParseSetupCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "VlSetup: %s\n\n%s", error.c_str(), SetupUsage());
        return kUsageError;
    }
    // The shortcuts are made through the shell's COM objects.
    CoInitialize(nullptr);
    const int result = Run(*options);
    CoUninitialize();
    std::fflush(stdout);
    return result;
}
