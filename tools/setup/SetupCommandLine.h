// The setup tool's command line. Kept free of Windows so that it is tested natively.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class SetupCommand { Install, StartHost, Status };

struct SetupOptions {
    SetupCommand command = SetupCommand::Install;
    // Where VelloraH.exe and VlExProp.exe are copied from; empty for the tool's own folder.
    std::string sourceFolder;
    bool printer = true;
    bool settingsFile = true;
    bool startupValue = true;
    bool shortcuts = true;
    bool startHost = false;
};

// The options, or nothing with the reason in `error`. The arguments follow the program name.
std::optional<SetupOptions> ParseSetupCommandLine(const std::vector<std::string>& arguments,
                                                  std::string& error);

// The usage text, printed on a command-line error.
const char* SetupUsage();
