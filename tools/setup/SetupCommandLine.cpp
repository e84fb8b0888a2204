#include "SetupCommandLine.h"

namespace {

bool ApplyInstallOption(SetupOptions& options, const std::string& option) {
    if (option == "--no-printer") {
        options.printer = false;
    } else if (option == "--no-settings") {
        options.settingsFile = false;
    } else if (option == "--no-startup") {
        options.startupValue = false;
    } else if (option == "--no-shortcuts") {
        options.shortcuts = false;
    } else if (option == "--start-host") {
        options.startHost = true;
    } else {
        return false;
    }
    return true;
}

std::optional<SetupOptions> ParseInstall(const std::vector<std::string>& arguments,
                                         std::string& error) {
    SetupOptions options;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--from") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                error = "--from needs a folder";
                return std::nullopt;
            }
            options.sourceFolder = arguments[++i];
        } else if (!ApplyInstallOption(options, option)) {
            error = "unknown option for install: " + option;
            return std::nullopt;
        }
    }
    return options;
}

std::optional<SetupOptions> ParseWithoutOptions(SetupCommand command,
                                                const std::vector<std::string>& arguments,
                                                std::string& error) {
    if (arguments.size() > 1) {
        error = arguments[0] + " takes no options";
        return std::nullopt;
    }
    SetupOptions options;
    options.command = command;
    return options;
}

} // namespace

std::optional<SetupOptions> ParseSetupCommandLine(const std::vector<std::string>& arguments,
                                                  std::string& error) {
    if (arguments.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const std::string& command = arguments[0];
    if (command == "install") {
        return ParseInstall(arguments, error);
    }
    if (command == "start-host") {
        return ParseWithoutOptions(SetupCommand::StartHost, arguments, error);
    }
    if (command == "status") {
        return ParseWithoutOptions(SetupCommand::Status, arguments, error);
    }
    error = "unknown command: " + command;
    return std::nullopt;
}

const char* SetupUsage() {
    return "usage: VlSetup install [--from FOLDER] [--no-printer] [--no-settings]\n"
           "                       [--no-startup] [--no-shortcuts] [--start-host]\n"
           "       VlSetup start-host\n"
           "       VlSetup status\n"
           "\n"
           "install     creates what an installation of the printer \"Vellora 9x\" creates:\n"
           "            the printer (a placeholder driver on the port FILE:), VelloraH.exe and\n"
           "            VlExProp.exe copied into the printer-driver directory, Vellora.ini with\n"
           "            the default settings in the Windows directory, the start-up value\n"
           "            \"VelloraHost\" under HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\\n"
           "            CurrentVersion\\Run, and the Start-menu folder \"Vellora 9x\" with the\n"
           "            shortcuts \"Uninstall\", \"UserManual\" and \"Output directory\".\n"
           "            What exists already is kept or overwritten; nothing is removed.\n"
           "  --from FOLDER   copy the programs from FOLDER (default: this tool's folder)\n"
           "  --no-printer    leave out the printer\n"
           "  --no-settings   leave out Vellora.ini\n"
           "  --no-startup    leave out the start-up value\n"
           "  --no-shortcuts  leave out the Start-menu folder and its shortcuts\n"
           "  --start-host    then start the host, as start-host does\n"
           "start-host  starts VelloraH.exe from the printer-driver directory and waits until\n"
           "            its window \"VelloraHost\" is there (30 s at most)\n"
           "status      prints, one line each, which of those items are present\n"
           "\n"
           "Exit code 0 when everything asked for was done, 1 when a step failed, 2 on a\n"
           "command-line error.\n";
}
