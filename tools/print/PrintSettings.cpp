#include "PrintSettings.h"

#include "SettingsRules.h"

namespace vlprint {

PrintSettings ForPrinting(const Settings& settings) {
    const Compression compression =
        settings.compression == ::Compression::Rle    ? Compression::PackBits
        : settings.compression == ::Compression::None ? Compression::None
                                                      : Compression::Lzw;
    return {settings.filenameMode == FilenameMode::FromFilenameDialog, settings.outputPath,
            compression, settings.multipage == Multipage::MultipageTiff};
}

PrintSettings DefaultPrintSettings() {
    return ForPrinting(DefaultSettings());
}

std::string DescribeSettings(const Settings& settings) {
    const std::string fileName = settings.filenameMode == FilenameMode::FromFilenameDialog
                                     ? FilenameModeCaption(settings.filenameMode)
                                     : "default filename root \"" + settings.outputPath + "\"";
    return "output " + fileName + ", compression " + CompressionCaption(settings.compression) +
           ", " + MultipageCaption(settings.multipage);
}

} // namespace vlprint
