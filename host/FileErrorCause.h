// The cause numbers of failed file operations, in the platform's numbering of file-exception
// causes, and how the operating system's error codes map onto them.
#pragma once

namespace filecause {

constexpr int kNone = 0;
constexpr int kUnspecified = 1;
constexpr int kFileNotFound = 2;
constexpr int kBadPath = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kInvalidFile = 6;
constexpr int kRemoveCurrentDirectory = 7;
constexpr int kDirectoryFull = 8;
constexpr int kBadSeek = 9;
constexpr int kHardwareError = 10;
constexpr int kSharingViolation = 11;
constexpr int kLockViolation = 12;
constexpr int kDiskFull = 13;
constexpr int kEndOfFile = 14;

} // namespace filecause

// The cause of a failure with this system error code (GetLastError). Codes of the same meaning
// share a cause; a code the table does not know is an unspecified error, and 0 is no error.
int FileErrorCause(unsigned long systemError);
