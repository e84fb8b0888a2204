// VlPrint.exe: the driver stand-in. Prints a plain-text document, or generated test pages,
// into TIFF files the way the printer driver does and hands them to the host. The exit code
// says how it went: 0 printed, 1 failed, 2 host not reachable, 3 cancelled (see PrintJob.h).
#include "Arguments.h"
#include "HostConnection.h"
#include "PageFormat.h"
#include "PageRenderer.h"
#include "PrintSettings.h"
#include "SettingsFile.h"
#include "TempSpoolFolder.h"
#include "TextLayout.h"
#include "VelloraNames.h"

#include <fstream>
#include <iostream>
#include <sstream>

using namespace vlprint;

namespace {

constexpr unsigned kMsPerSecond = 1000;

int Fail(const std::string& reason, int status = kFailed) {
    std::cerr << "VlPrint: " << reason << "\n";
    return status;
}

bool LoadDocument(const Arguments& arguments, std::string& document) {
    if (arguments.document.empty()) {
        document = TestPagesDocument(arguments.testPages);
        return true;
    }
    std::ifstream file(arguments.document, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    document = text.str();
    return true;
}

std::string DocumentName(const Arguments& arguments) {
    return arguments.document.empty() ? "test pages" : "\"" + arguments.document + "\"";
}

void Report(const Arguments& arguments, const RenderedDocument& rendered,
            const std::string& settingsPath, const Settings& settings) {
    const std::size_t pages = rendered.pages.size();
    std::cout << "Printing " << DocumentName(arguments) << ": " << pages
              << (pages == 1 ? " page" : " pages") << " of A4 at " << kDotsPerInch << " dpi in "
              << kFontPoints << "-point \"" << rendered.fontFace << "\".\n"
              << "Settings from \"" << settingsPath << "\": " << DescribeSettings(settings)
              << ".\n";
}

int Print(const Arguments& arguments) {
    std::string document;
    if (!LoadDocument(arguments, document)) {
        return Fail("cannot read the document \"" + arguments.document + "\"");
    }
    char settingsPath[vellora::kPathBufferSize];
    if (!BuildSettingsPath(settingsPath)) {
        return Fail("the path of the settings file cannot be had whole");
    }
    const Settings read = ReadSettings(settingsPath);
    PrintSettings settings = ForPrinting(read);
    RenderedDocument rendered;
    if (!RenderDocument(document, rendered)) {
        return Fail("GDI could not provide the page bitmap or the font");
    }
    Report(arguments, rendered, settingsPath, read);
    if (!arguments.outputRoot.empty()) {
        settings.outputPath = arguments.outputRoot;
        std::cout << "Output root from the command line: \"" << settings.outputPath << "\".\n";
    }
    TempSpoolFolder spool;
    if (!spool.Ready()) {
        return Fail("cannot create the spool folder in the temporary folder");
    }
    HWND__* window = FindHostWindow(arguments.waitHostSeconds * kMsPerSecond);
    if (!window) {
        return Fail(std::string("no window \"") + vellora::kHostWindowName + "\" appeared within " +
                        std::to_string(arguments.waitHostSeconds) + " s: the host is not running",
                    kHostUnreachable);
    }
    HostConnection host(window, arguments.timeoutSeconds * kMsPerSecond);
    return RunPrintJob(rendered.pages, settings, host, spool, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    std::string error;
    if (!ParseArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, error)) {
        std::cerr << "VlPrint: " << error << "\n\n" << kUsage;
        return kFailed;
    }
    const int status = Print(arguments);
    std::cout.flush();
    return status;
}
