// The properties program VlExProp.exe as a user works it: started, its dialog found, its
// controls read, clicked and typed into, and the settings file it reads and writes.
#pragma once

#include "WineTest.h"

#include <initializer_list>
#include <string>
#include <vector>

constexpr const char* kPropertiesCaption = "Vellora 9x Advanced Properties";

// The settings file in the Windows directory.
std::string SettingsFilePath();
// Its content; "" when there is no file.
std::string SettingsFileText();
void StoreSettingsFile(const std::string& text);
void RemoveSettingsFile();
// A value as the platform's profile read gives it to anyone else, the driver for one.
std::string StoredSetting(const char* section, const char* key);

// A running properties program whose dialog has opened and shows the settings. Ended by force
// at the end of a test that left it running.
class PropertiesProgram {
  public:
    // The program built beside the tests, or the one at the given path.
    PropertiesProgram();
    explicit PropertiesProgram(const std::string& programPath);

    bool Opened() const { return dialog != nullptr; }
    HWND Dialog() const { return dialog; }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    // A control's text as the control itself gives it (another process's edit control keeps
    // its text where GetWindowText does not look).
    std::string Text(int id) const;
    // The text as NT and Wine hold it: Unicode.
    std::wstring UnicodeText(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    // Those of the given radio buttons that are checked.
    std::vector<int> CheckedOf(std::initializer_list<int> ids) const;
    // The window that has the keyboard focus in the program.
    HWND Focus() const;

    // A mouse click on a radio button; returns when the dialog has handled it.
    void Click(int id);
    // A mouse click into a control, without waiting for it.
    void ClickInto(int id);
    // Replaces the path field's text, as a program would.
    void SetPathText(const std::string& text);
    // Pastes text into the path field in place of its content, as a user would.
    void PastePathText(const std::string& text);
    // Presses a push button without waiting for it: OK may open message boxes.
    void Press(int id);
    // A key pressed where the focus is.
    void PressKey(WPARAM virtualKey);
    void TypeCharacter(char character);

    // The dialog has closed and the program has ended.
    bool Ended();

    winetest::Process process;

  private:
    HWND dialog = nullptr;
};
