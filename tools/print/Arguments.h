// VlPrint's command line.
#pragma once

#include <string>
#include <vector>

namespace vlprint {

constexpr const char* kUsage =
    "usage: VlPrint [DOCUMENT | --pages N] [--root PATH] [--wait-host SECONDS] "
    "[--timeout SECONDS]\n"
    "Prints a plain-text DOCUMENT, or N generated test pages (3 when neither is given), into\n"
    "TIFF files as the Vellora 9x printer driver does, and hands them to the host VelloraH.\n"
    "  --root PATH          output root to send instead of the \"OutputPath\" setting\n"
    "  --wait-host SECONDS  how long to look for the host's window (10)\n"
    "  --timeout SECONDS    how long to wait for the host to answer one request (600)\n";

struct Arguments {
    std::string document; // empty: print test pages
    int testPages = 3;
    std::string outputRoot; // empty: the "OutputPath" setting
    int waitHostSeconds = 10;
    int timeoutSeconds = 600;
};

// False, with the reason in `error`, when the command line is not one of the usage's forms.
bool ParseArguments(const std::vector<std::string>& words, Arguments& arguments,
                    std::string& error);

} // namespace vlprint
