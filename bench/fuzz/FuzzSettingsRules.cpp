// How the settings file's texts are interpreted: the path of the file, defaults for empty
// values, "OFF" or not, the one compression character, the low 8 bits of "Multipage", and that
// what OK writes reads back as the same setting.
#include "FuzzCheck.h"
#include "SettingsFilePath.h"
#include "SettingsRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLongestText = 600;

void CheckSettingsPath(const std::string& windowsDirectory) {
    const std::string expected = windowsDirectory + "\\" + vellora::kSettingsFile;
    const bool fits = !windowsDirectory.empty() && expected.size() < vellora::kPathBufferSize;
    const std::optional<std::string> path = SettingsFilePath(windowsDirectory);
    Require(path.has_value() == fits, "the settings path is built exactly when it fits its buffer");
    Require(!path || *path == expected,
            "the settings path is the directory, one backslash and Vellora.ini");
}

// The buffer as the platform's profile read leaves it: the value cut to size - 1 characters.
void CheckDefaultWhenEmpty(const SettingKey& setting, const std::string& value) {
    std::vector<char> buffer(setting.bufferSize, '\0');
    const std::string read = value.substr(0, value.find('\0')).substr(0, setting.bufferSize - 1);
    std::memcpy(buffer.data(), read.c_str(), read.size() + 1);
    UseDefaultWhenEmpty(buffer.data(), setting.bufferSize, setting.defaultValue);
    const std::string seen = buffer.data();
    Require(seen == (read.empty() ? setting.defaultValue : read),
            "an empty value reads as the default, any other as itself");
}

void CheckFilenameMode(const std::string& text) {
    const bool off = text.compare(0, 3, "OFF") == 0;
    Require((FilenameModeFromText(text) == FilenameMode::UseDefaultFilename) == off,
            "only OFF in the three characters read means the default file name");
}

void CheckCompression(const std::string& text) {
    const char first = text.empty() ? '\0' : text[0];
    const int number = first >= '0' && first <= '9' ? first - '0' : 0;
    const Compression expected = number == 0   ? Compression::Rle
                                 : number == 1 ? Compression::None
                                               : Compression::Lzw;
    Require(CompressionFromText(text) == expected,
            "the one character read selects RLE for 0, None for 1, LZW for any other number");
}

void CheckMultipage(unsigned value) {
    const Multipage expected =
        (value % 256u) != 0 ? Multipage::MultipageTiff : Multipage::OneFilePerPage;
    Require(MultipageFromValue(value) == expected, "only the low 8 bits of Multipage count");
}

void CheckWrittenTextsReadBack() {
    for (FilenameMode mode : {FilenameMode::UseDefaultFilename, FilenameMode::FromFilenameDialog}) {
        Require(FilenameModeFromText(PrintOnFilePromptText(mode)) == mode,
                "the written PrintOnFilePrompt reads back");
    }
    for (Compression compression : {Compression::Rle, Compression::None, Compression::Lzw}) {
        Require(CompressionFromText(CompressionTypeText(compression)) == compression,
                "the written CompressionType reads back");
    }
    for (Multipage multipage : {Multipage::OneFilePerPage, Multipage::MultipageTiff}) {
        Require(MultipageFromValue(static_cast<unsigned>(std::stoul(MultipageText(multipage)))) ==
                    multipage,
                "the written Multipage reads back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CheckSettingsPath(input.ConsumeRandomLengthString(kLongestText));
    CheckFilenameMode(input.ConsumeRandomLengthString(kLongestText));
    CheckCompression(input.ConsumeRandomLengthString(kLongestText));
    CheckMultipage(input.ConsumeIntegral<unsigned>());
    const SettingKey settings[] = {kPrintOnFilePrompt, kOutputPath, kCompressionType};
    for (const SettingKey& setting : settings) {
        CheckDefaultWhenEmpty(setting, input.ConsumeRandomLengthString(kLongestText));
    }
    CheckWrittenTextsReadBack();
    return 0;
}
