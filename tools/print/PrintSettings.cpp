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

} // namespace vlprint
