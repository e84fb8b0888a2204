#include "HostTexts.h"

#include "FileErrorCause.h"

namespace {

const char* CauseText(int cause) {
    switch (cause) {
    case filecause::kUnspecified:
        return "An unspecified error occurred.";
    case filecause::kFileNotFound:
        return "File not found";
    case filecause::kHardwareError:
        return "There was a hardware error.";
    case filecause::kDiskFull:
        return "The disk is full";
    default:
        return "An error occurred.";
    }
}

} // namespace

std::string RenameErrorText(int cause) {
    return std::string("The file could not be renamed: ") + CauseText(cause);
}

std::string PrintKeptText(int cause, const std::string& partPath) {
    return RenameErrorText(cause) + "\nThe new print is kept as\n" + partPath;
}

std::string OverwriteQuestionText(const std::string& targetPath) {
    return "A file named\n" + targetPath +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

const char* const kChosenNameTooLongText =
    "The chosen name is too long: a path may hold at most 259 characters.\n"
    "Please choose a shorter name.";

std::string PropertiesPathTooLongText(const std::string& programPath) {
    return "The properties program could not be started because its path is too long:\n" +
           programPath;
}
