#include "SettingsRules.h"

#include <algorithm>
#include <cstring>

namespace {

// The text as its read buffer holds it: at most bufferSize - 1 characters.
std::string_view AsRead(std::string_view text, const SettingKey& setting) {
    return text.substr(0, setting.bufferSize - 1);
}

} // namespace

void UseDefaultWhenEmpty(char* buffer, std::uint32_t bufferSize, const char* defaultValue) {
    if (bufferSize == 0 || buffer[0] != '\0') {
        return;
    }
    const std::size_t length = std::min<std::size_t>(std::strlen(defaultValue), bufferSize - 1);
    std::memcpy(buffer, defaultValue, length);
    buffer[length] = '\0';
}

FilenameMode FilenameModeFromText(std::string_view text) {
    return AsRead(text, kPrintOnFilePrompt) == "OFF" ? FilenameMode::UseDefaultFilename
                                                     : FilenameMode::FromFilenameDialog;
}

Compression CompressionFromText(std::string_view text) {
    const std::string_view character = AsRead(text, kCompressionType);
    const bool digit = !character.empty() && character[0] >= '0' && character[0] <= '9';
    switch (digit ? character[0] - '0' : 0) {
    case 0:
        return Compression::Rle;
    case 1:
        return Compression::None;
    default:
        return Compression::Lzw;
    }
}

Multipage MultipageFromValue(unsigned value) {
    return (value & 0xFFu) != 0 ? Multipage::MultipageTiff : Multipage::OneFilePerPage;
}

unsigned IntegerFromText(std::string_view text) {
    unsigned value = 0;
    for (const char digit : text) {
        value = value * 10u + static_cast<unsigned>(digit - '0');
    }
    return value;
}

const char* PrintOnFilePromptText(FilenameMode mode) {
    return mode == FilenameMode::FromFilenameDialog ? "ON" : "OFF";
}

std::string CompressionTypeText(Compression compression) {
    return std::to_string(static_cast<int>(compression));
}

const char* MultipageText(Multipage multipage) {
    return multipage == Multipage::MultipageTiff ? "1" : "0";
}

Settings DefaultSettings() {
    return ReadSettingsWith([](const SettingKey& key) { return std::string(key.defaultValue); });
}
