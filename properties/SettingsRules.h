// How the four settings are stored in "Vellora.ini" and what each stored text means to the
// dialog and the driver. Free of Windows, so that the rules are tested natively.
#pragma once

#include "VelloraNames.h"

#include <cstdint>
#include <string>
#include <string_view>

// A text key of the section "Setup": the buffer it is read into (terminator included), so
// that only its first bufferSize - 1 characters ever count, and the default that stands for a
// missing or empty value.
struct TextSetting {
    const char* key;
    std::uint32_t bufferSize;
    const char* defaultValue;
};

constexpr TextSetting kPrintOnFilePrompt{vellora::kKeyPrintOnFilePrompt, 4, "OFF"};
constexpr TextSetting kOutputPath{vellora::kKeyOutputPath, vellora::kPathBufferSize,
                                  vellora::kDefaultOutputRoot};
constexpr TextSetting kCompressionType{vellora::kKeyCompressionType, 2, "2"};
// "Multipage" is an integer read; this is its value when the file, section or key is missing.
constexpr int kMultipageDefault = 1;

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

// Joins the Windows directory, one backslash (always, even after a drive root's own) and
// "Vellora.ini" into the path buffer. Refuses, leaving the buffer empty, when the directory is
// unknown (empty) or when the whole path would not fit: the settings are never read from or
// written to a path that is cut short.
bool JoinSettingsPath(std::string_view windowsDirectory, char (&path)[vellora::kPathBufferSize]);

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

// The normalised texts that OK writes.
const char* PrintOnFilePromptText(FilenameMode mode);
std::string CompressionTypeText(Compression compression);
const char* MultipageText(Multipage multipage);
