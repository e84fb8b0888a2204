#include "SettingsFile.h"

#include "SettingsFilePath.h"
#include "WindowsPaths.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr const char* kWriteErrorText = "Error writing string to INI file.";
constexpr const char* kPathUnknownText =
    "The settings file cannot be located: the Windows directory is unknown or its path is too "
    "long. No setting has been read or saved.";

// The dialog is system-modal and so stays above ordinary windows: the box must come above it
// to be seen at all.
void ShowSettingsError(const char* text) {
    MessageBoxA(nullptr, text, vellora::kMessageCaption, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

std::string ReadValue(const SettingKey& setting, const char* path) {
    if (setting.readAs == ReadAs::Integer) {
        return std::to_string(GetPrivateProfileIntA(vellora::kSettingsSection, setting.key,
                                                    IntegerFromText(setting.defaultValue), path));
    }
    std::string buffer(setting.bufferSize, '\0');
    ReadSettingString(setting.bufferSize, &buffer[0], vellora::kSettingsSection, setting.key,
                      setting.defaultValue, path);
    return buffer.c_str();
}

} // namespace

bool BuildSettingsPath(char (&path)[vellora::kPathBufferSize]) {
    path[0] = '\0';
    const std::optional<std::string> settingsPath = SettingsFilePath(WindowsDirectory());
    if (!settingsPath) {
        return false;
    }
    std::memcpy(path, settingsPath->c_str(), settingsPath->size() + 1);
    return true;
}

void ReportSettingsPathUnknown() {
    ShowSettingsError(kPathUnknownText);
}

bool ReadSettingString(std::uint32_t size, char* buffer, const char* section, const char* key,
                       const char* defaultValue, const char* path) {
    GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
    UseDefaultWhenEmpty(buffer, size, defaultValue);
    return true;
}

bool WriteSettingString(const char* value, const char* section, const char* key, const char* path) {
    if (!WritePrivateProfileStringA(section, key, value, path)) {
        ShowSettingsError(kWriteErrorText);
    }
    return true;
}

Settings ReadSettings(const char* path) {
    return ReadSettingsWith([path](const SettingKey& setting) { return ReadValue(setting, path); });
}

void WriteSetting(const char* key, const std::string& value, const char* path) {
    WriteSettingString(value.c_str(), vellora::kSettingsSection, key, path);
}
