#include "SettingsFile.h"

#include "VelloraNames.h"

#include <windows.h>

#include <vector>

namespace vlprint {

namespace {

// The profile read cuts the text to the buffer, as the driver's fixed buffers do.
std::string ReadText(const char* key, const char* fallback, unsigned bufferSize,
                     const std::string& path) {
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileStringA(vellora::kSettingsSection, key, fallback, buffer.data(), bufferSize,
                             path.c_str());
    return buffer.data();
}

} // namespace

std::string SettingsFilePath() {
    char directory[vellora::kPathBufferSize] = "";
    const UINT length = GetWindowsDirectoryA(directory, sizeof(directory));
    if (length == 0 || length >= sizeof(directory)) {
        return std::string();
    }
    const std::string path = std::string(directory) + "\\" + vellora::kSettingsFile;
    return path.size() < static_cast<std::size_t>(vellora::kPathBufferSize) ? path : std::string();
}

PrintSettings ReadPrintSettings(const std::string& settingsPath) {
    StoredSettings stored;
    stored.printOnFilePrompt = ReadText(vellora::kKeyPrintOnFilePrompt, kPromptOff,
                                        kPrintOnFilePromptBuffer, settingsPath);
    stored.outputPath = ReadText(vellora::kKeyOutputPath, vellora::kDefaultOutputRoot,
                                 kOutputPathBuffer, settingsPath);
    stored.compressionType = ReadText(vellora::kKeyCompressionType, kDefaultCompressionType,
                                      kCompressionTypeBuffer, settingsPath);
    stored.multipage = GetPrivateProfileIntA(vellora::kSettingsSection, vellora::kKeyMultipage,
                                             kDefaultMultipage, settingsPath.c_str());
    return InterpretSettings(stored);
}

} // namespace vlprint
