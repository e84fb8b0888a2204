#include "FileErrorCause.h"

#include "SystemErrorCodes.h"

namespace {

struct ErrorCause {
    unsigned long systemError;
    int cause;
};

// An existing target must read as access denied: that is what brings the overwrite question.
constexpr ErrorCause kErrorCauses[] = {
    {syserror::kSuccess, filecause::kNone},
    {syserror::kFileNotFound, filecause::kFileNotFound},
    {syserror::kPathNotFound, filecause::kBadPath},
    {syserror::kTooManyOpenFiles, filecause::kTooManyOpenFiles},
    {syserror::kAccessDenied, filecause::kAccessDenied},
    {syserror::kInvalidHandle, filecause::kInvalidFile},
    {syserror::kBadFormat, filecause::kInvalidFile},
    {syserror::kInvalidAccess, filecause::kAccessDenied},
    {syserror::kInvalidDrive, filecause::kBadPath},
    {syserror::kCurrentDirectory, filecause::kRemoveCurrentDirectory},
    {syserror::kNotSameDevice, filecause::kBadPath},
    {syserror::kNoMoreFiles, filecause::kFileNotFound},
    {syserror::kWriteProtect, filecause::kAccessDenied},
    {syserror::kBadUnit, filecause::kHardwareError},
    {syserror::kNotReady, filecause::kHardwareError},
    {syserror::kBadCommand, filecause::kHardwareError},
    {syserror::kCrc, filecause::kHardwareError},
    {syserror::kBadLength, filecause::kBadSeek},
    {syserror::kSeek, filecause::kBadSeek},
    {syserror::kNotDosDisk, filecause::kInvalidFile},
    {syserror::kSectorNotFound, filecause::kHardwareError},
    {syserror::kWriteFault, filecause::kHardwareError},
    {syserror::kReadFault, filecause::kHardwareError},
    {syserror::kGenFailure, filecause::kHardwareError},
    {syserror::kSharingViolation, filecause::kSharingViolation},
    {syserror::kLockViolation, filecause::kLockViolation},
    {syserror::kWrongDisk, filecause::kBadPath},
    {syserror::kSharingBufferExceeded, filecause::kTooManyOpenFiles},
    {syserror::kHandleEof, filecause::kEndOfFile},
    {syserror::kHandleDiskFull, filecause::kDiskFull},
    {syserror::kBadNetpath, filecause::kBadPath},
    {syserror::kNetworkAccessDenied, filecause::kAccessDenied},
    {syserror::kBadNetName, filecause::kBadPath},
    {syserror::kFileExists, filecause::kAccessDenied},
    {syserror::kCannotMake, filecause::kDirectoryFull},
    {syserror::kDriveLocked, filecause::kLockViolation},
    {syserror::kDiskFull, filecause::kDiskFull},
    {syserror::kInvalidName, filecause::kBadPath},
    {syserror::kNegativeSeek, filecause::kBadSeek},
    {syserror::kSeekOnDevice, filecause::kBadSeek},
    {syserror::kDirNotEmpty, filecause::kRemoveCurrentDirectory},
    {syserror::kBadPathname, filecause::kBadPath},
    {syserror::kLockFailed, filecause::kLockViolation},
    {syserror::kAlreadyExists, filecause::kAccessDenied},
    {syserror::kFilenameTooLong, filecause::kBadPath},
    {syserror::kDirectory, filecause::kBadPath},
    {syserror::kIoDevice, filecause::kHardwareError},
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
