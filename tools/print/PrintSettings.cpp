#include "PrintSettings.h"

#include "VelloraNames.h"

#include <cstdlib>

namespace vlprint {

namespace {

std::string OrDefault(const std::string& text, const char* fallback) {
    return text.empty() ? std::string(fallback) : text;
}

Compression CompressionOf(const std::string& text) {
    switch (std::atoi(OrDefault(text, kDefaultCompressionType).c_str())) {
    case 0:
        return Compression::PackBits;
    case 1:
        return Compression::None;
    default:
        return Compression::Lzw;
    }
}

} // namespace

PrintSettings InterpretSettings(const StoredSettings& stored) {
    PrintSettings settings;
    settings.printOnFilePrompt = OrDefault(stored.printOnFilePrompt, kPromptOff) != kPromptOff;
    settings.outputPath = OrDefault(stored.outputPath, vellora::kDefaultOutputRoot);
    settings.compression = CompressionOf(stored.compressionType);
    settings.multipage = (stored.multipage & 0xFFu) != 0;
    return settings;
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
