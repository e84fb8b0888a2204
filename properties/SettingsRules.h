// The printer's four settings in the section "Setup" of "Vellora.ini": one table of the keys,
// from which the properties dialog, the driver stand-in and the setup tool read, write and
// install them. Free of Windows, so that the rules are tested natively.
#pragma once

#include "VelloraNames.h"

#include <cstdint>
#include <string>
#include <string_view>

// Where the output file name comes from.
enum class FilenameMode { UseDefaultFilename, FromFilenameDialog };
// This system's own numbering of the TIFF compression, not TIFF tag values.
enum class Compression { Rle = 0, None = 1, Lzw = 2 };
enum class Multipage { OneFilePerPage, MultipageTiff };

// The four settings as the dialog shows them and OK writes them back.
struct Settings {
    FilenameMode filenameMode;
    std::string outputPath;
    Compression compression;
    Multipage multipage;
};

// What a read of a text key leaves in its buffer once an empty value has been replaced by the
// default: the file's empty value is never seen.
void UseDefaultWhenEmpty(char* buffer, std::uint32_t bufferSize, const char* defaultValue);

// Exactly "OFF" (case counts, of the three characters read) means the default file name; any
// other text means the file-name dialog.
FilenameMode FilenameModeFromText(std::string_view text);
// The one character read, converted as a decimal number: a digit gives its value, anything else
// 0. 0 is RLE, 1 is no compression, every other number LZW.
Compression CompressionFromText(std::string_view text);
// Only the low 8 bits of the integer read count: zero means one file per page.
Multipage MultipageFromValue(unsigned value);
// An integer read, from the decimal text in which it passes through the table.
unsigned IntegerFromText(std::string_view text);

// The properties dialog's words for each choice, which the driver stand-in's report uses too.
// "RLE" and "LZW" are also the dialog template's own texts, which the dialog keeps.
constexpr const char* FilenameModeCaption(FilenameMode mode) {
    return mode == FilenameMode::FromFilenameDialog ? "from filename dialog"
                                                    : "use default filename";
}
constexpr const char* CompressionCaption(Compression compression) {
    return compression == Compression::None  ? "None"
           : compression == Compression::Rle ? "RLE"
                                             : "LZW";
}
constexpr const char* MultipageCaption(Multipage multipage) {
    return multipage == Multipage::MultipageTiff ? "multipage TIFF" : "one TIFF file per page";
}

// The normalised texts that OK writes.
const char* PrintOnFilePromptText(FilenameMode mode);
std::string CompressionTypeText(Compression compression);
const char* MultipageText(Multipage multipage);

enum class ReadAs {
    // Into a buffer of bufferSize bytes, terminator included, so that only the first
    // bufferSize - 1 characters ever count; an empty value counts as missing.
    Text,
    // As an integer, by the platform's own integer read.
    Integer,
};

// A key of the section "Setup". The default stands for a missing value and is what a new
// installation writes; an integer key's value passes through "read" as its decimal text.
struct SettingKey {
    const char* key;
    ReadAs readAs;
    std::uint32_t bufferSize;
    const char* defaultValue;
    void (*read)(std::string_view value, Settings& settings);
    std::string (*written)(const Settings& settings);
};

constexpr SettingKey kPrintOnFilePrompt{
    vellora::kKeyPrintOnFilePrompt,
    ReadAs::Text,
    4,
    "OFF",
    [](std::string_view value, Settings& s) { s.filenameMode = FilenameModeFromText(value); },
    [](const Settings& s) -> std::string { return PrintOnFilePromptText(s.filenameMode); }};
constexpr SettingKey kOutputPath{vellora::kKeyOutputPath,
                                 ReadAs::Text,
                                 vellora::kPathBufferSize,
                                 vellora::kDefaultOutputRoot,
                                 [](std::string_view value, Settings& s) { s.outputPath = value; },
                                 [](const Settings& s) { return s.outputPath; }};
constexpr SettingKey kCompressionType{
    vellora::kKeyCompressionType,
    ReadAs::Text,
    2,
    "2",
    [](std::string_view value, Settings& s) { s.compression = CompressionFromText(value); },
    [](const Settings& s) { return CompressionTypeText(s.compression); }};
constexpr SettingKey kMultipage{
    vellora::kKeyMultipage,
    ReadAs::Integer,
    0,
    "1",
    [](std::string_view value, Settings& s) {
        s.multipage = MultipageFromValue(IntegerFromText(value));
    },
    [](const Settings& s) -> std::string { return MultipageText(s.multipage); }};

// All four, in the order they are read and written, so that a new file holds them in that order.
constexpr SettingKey kSettingKeys[] = {kPrintOnFilePrompt, kOutputPath, kCompressionType,
                                       kMultipage};

// The settings from each key's value as the platform read it.
template <typename ReadValue> Settings ReadSettingsWith(ReadValue readValue) {
    Settings settings{};
    for (const SettingKey& key : kSettingKeys) {
        key.read(readValue(key), settings);
    }
    return settings;
}

// The settings of a new installation, which writes every key's default.
Settings DefaultSettings();
