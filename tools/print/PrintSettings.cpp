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

std::string DescribeSettings(const PrintSettings& settings) {
    const std::string fileName = settings.printOnFilePrompt
                                     ? "from filename dialog"
                                     : "default filename root \"" + settings.outputPath + "\"";
    const char* compression = settings.compression == Compression::PackBits ? "RLE"
                              : settings.compression == Compression::None   ? "None"
                                                                            : "LZW";
    return "output " + fileName + ", compression " + compression + ", " +
           (settings.multipage ? "multipage TIFF" : "one TIFF file per page");
}

} // namespace vlprint
