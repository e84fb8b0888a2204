#include "FileErrorCause.h"

namespace {

struct ErrorCause {
    unsigned long systemError;
    int cause;
};

// System error codes by number, so that this table builds without the platform's headers.
// An existing target must read as access denied: that is what brings the overwrite question.
constexpr ErrorCause kErrorCauses[] = {
    {0, filecause::kNone},                     // ERROR_SUCCESS
    {2, filecause::kFileNotFound},             // ERROR_FILE_NOT_FOUND
    {3, filecause::kBadPath},                  // ERROR_PATH_NOT_FOUND
    {4, filecause::kTooManyOpenFiles},         // ERROR_TOO_MANY_OPEN_FILES
    {5, filecause::kAccessDenied},             // ERROR_ACCESS_DENIED
    {6, filecause::kInvalidFile},              // ERROR_INVALID_HANDLE
    {11, filecause::kInvalidFile},             // ERROR_BAD_FORMAT
    {12, filecause::kAccessDenied},            // ERROR_INVALID_ACCESS
    {15, filecause::kBadPath},                 // ERROR_INVALID_DRIVE
    {16, filecause::kRemoveCurrentDirectory},  // ERROR_CURRENT_DIRECTORY
    {17, filecause::kBadPath},                 // ERROR_NOT_SAME_DEVICE
    {18, filecause::kFileNotFound},            // ERROR_NO_MORE_FILES
    {19, filecause::kAccessDenied},            // ERROR_WRITE_PROTECT
    {20, filecause::kHardwareError},           // ERROR_BAD_UNIT
    {21, filecause::kHardwareError},           // ERROR_NOT_READY
    {22, filecause::kHardwareError},           // ERROR_BAD_COMMAND
    {23, filecause::kHardwareError},           // ERROR_CRC
    {24, filecause::kBadSeek},                 // ERROR_BAD_LENGTH
    {25, filecause::kBadSeek},                 // ERROR_SEEK
    {26, filecause::kInvalidFile},             // ERROR_NOT_DOS_DISK
    {27, filecause::kHardwareError},           // ERROR_SECTOR_NOT_FOUND
    {29, filecause::kHardwareError},           // ERROR_WRITE_FAULT
    {30, filecause::kHardwareError},           // ERROR_READ_FAULT
    {31, filecause::kHardwareError},           // ERROR_GEN_FAILURE
    {32, filecause::kSharingViolation},        // ERROR_SHARING_VIOLATION
    {33, filecause::kLockViolation},           // ERROR_LOCK_VIOLATION
    {34, filecause::kBadPath},                 // ERROR_WRONG_DISK
    {36, filecause::kTooManyOpenFiles},        // ERROR_SHARING_BUFFER_EXCEEDED
    {38, filecause::kEndOfFile},               // ERROR_HANDLE_EOF
    {39, filecause::kDiskFull},                // ERROR_HANDLE_DISK_FULL
    {53, filecause::kBadPath},                 // ERROR_BAD_NETPATH
    {65, filecause::kAccessDenied},            // ERROR_NETWORK_ACCESS_DENIED
    {67, filecause::kBadPath},                 // ERROR_BAD_NET_NAME
    {80, filecause::kAccessDenied},            // ERROR_FILE_EXISTS
    {82, filecause::kDirectoryFull},           // ERROR_CANNOT_MAKE: no room for a new entry
    {108, filecause::kLockViolation},          // ERROR_DRIVE_LOCKED
    {112, filecause::kDiskFull},               // ERROR_DISK_FULL
    {123, filecause::kBadPath},                // ERROR_INVALID_NAME
    {131, filecause::kBadSeek},                // ERROR_NEGATIVE_SEEK
    {132, filecause::kBadSeek},                // ERROR_SEEK_ON_DEVICE
    {145, filecause::kRemoveCurrentDirectory}, // ERROR_DIR_NOT_EMPTY
    {161, filecause::kBadPath},                // ERROR_BAD_PATHNAME
    {167, filecause::kLockViolation},          // ERROR_LOCK_FAILED
    {183, filecause::kAccessDenied},           // ERROR_ALREADY_EXISTS
    {206, filecause::kBadPath},                // ERROR_FILENAME_EXCED_RANGE
    {267, filecause::kBadPath},                // ERROR_DIRECTORY
    {1117, filecause::kHardwareError},         // ERROR_IO_DEVICE
};

} // namespace

int FileErrorCause(unsigned long systemError) {
    for (const ErrorCause& entry : kErrorCauses) {
        if (entry.systemError == systemError) {
            return entry.cause;
        }
    }
    return filecause::kUnspecified;
}
