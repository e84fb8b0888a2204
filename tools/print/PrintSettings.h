// The printer's settings as the print job uses them: read from "Vellora.ini" by the rules of
// the properties program, with the compression in the TIFF writer's terms.
#pragma once

#include "TiffWriter.h"

#include <string>

// The properties program's settings (SettingsRules.h), whose Compression would clash with the
// TIFF writer's here.
struct Settings;

namespace vlprint {

struct PrintSettings {
    bool printOnFilePrompt;
    std::string outputPath;
    Compression compression;
    bool multipage;
};

// "CompressionType" 0 ("RLE") is PackBits.
PrintSettings ForPrinting(const Settings& settings);
// Those of a new installation.
PrintSettings DefaultPrintSettings();

// The settings as read, in the words of the properties dialog, for VlPrint's report.
std::string DescribeSettings(const Settings& settings);

} // namespace vlprint
