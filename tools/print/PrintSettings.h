// The printer's four settings as the driver reads them from "Vellora.ini", section "Setup":
// the texts as stored, and what they mean.
#pragma once

#include "TiffWriter.h"
#include "VelloraNames.h"

#include <string>

namespace vlprint {

// The profile reads cut each text to its buffer, terminator included.
constexpr unsigned kPrintOnFilePromptBuffer = 4;
constexpr unsigned kOutputPathBuffer = 260;
constexpr unsigned kCompressionTypeBuffer = 2;

constexpr const char* kPromptOff = "OFF";
constexpr const char* kDefaultCompressionType = "2";
constexpr unsigned kDefaultMultipage = 1;

// What the profile reads returned, each text already cut to its buffer.
struct StoredSettings {
    std::string printOnFilePrompt;
    std::string outputPath;
    std::string compressionType;
    unsigned multipage = kDefaultMultipage;
};

struct PrintSettings {
    bool printOnFilePrompt = false;
    std::string outputPath = vellora::kDefaultOutputRoot;
    Compression compression = Compression::Lzw;
    bool multipage = true;
};

// An empty text counts as missing; "PrintOnFilePrompt" is off only when it reads exactly
// "OFF"; "CompressionType" 0 is PackBits, 1 none, any other number LZW; "Multipage" counts by
// its low eight bits.
PrintSettings InterpretSettings(const StoredSettings& stored);

// The settings in the words of the properties dialog, for VlPrint's report.
std::string DescribeSettings(const PrintSettings& settings);

} // namespace vlprint
