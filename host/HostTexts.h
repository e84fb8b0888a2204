// The texts of the host's message boxes.
#pragma once

#include <string>

// The error box after a failed move: "The file could not be renamed: " and the cause's text.
std::string RenameErrorText(int cause);

// The error box after Yes when the new print could not take the target's name and is kept in
// its part: the error box's text, and where the print is.
std::string PrintKeptText(int cause, const std::string& partPath);

// The question before a move overwrites the existing file at the target path.
std::string OverwriteQuestionText(const std::string& targetPath);

// Shown when the name chosen in the save-file dialog makes a path the platform cannot take;
// the dialog then opens again.
extern const char* const kChosenNameTooLongText;

// Shown instead of starting the properties program when its path would not fit.
std::string PropertiesPathTooLongText(const std::string& programPath);
