// The system error codes (GetLastError) that the host's logic and its tests decide by, by
// number, so that they build without the platform's headers. The Win32 layer checks each value
// against <winerror.h>.
#pragma once

namespace syserror {

constexpr unsigned long kSuccess = 0;                // ERROR_SUCCESS
constexpr unsigned long kFileNotFound = 2;           // ERROR_FILE_NOT_FOUND
constexpr unsigned long kPathNotFound = 3;           // ERROR_PATH_NOT_FOUND
constexpr unsigned long kTooManyOpenFiles = 4;       // ERROR_TOO_MANY_OPEN_FILES
constexpr unsigned long kAccessDenied = 5;           // ERROR_ACCESS_DENIED
constexpr unsigned long kInvalidHandle = 6;          // ERROR_INVALID_HANDLE
constexpr unsigned long kNotEnoughMemory = 8;        // ERROR_NOT_ENOUGH_MEMORY
constexpr unsigned long kBadFormat = 11;             // ERROR_BAD_FORMAT
constexpr unsigned long kInvalidAccess = 12;         // ERROR_INVALID_ACCESS
constexpr unsigned long kInvalidDrive = 15;          // ERROR_INVALID_DRIVE
constexpr unsigned long kCurrentDirectory = 16;      // ERROR_CURRENT_DIRECTORY
constexpr unsigned long kNotSameDevice = 17;         // ERROR_NOT_SAME_DEVICE
constexpr unsigned long kNoMoreFiles = 18;           // ERROR_NO_MORE_FILES
constexpr unsigned long kWriteProtect = 19;          // ERROR_WRITE_PROTECT
constexpr unsigned long kBadUnit = 20;               // ERROR_BAD_UNIT
constexpr unsigned long kNotReady = 21;              // ERROR_NOT_READY
constexpr unsigned long kBadCommand = 22;            // ERROR_BAD_COMMAND
constexpr unsigned long kCrc = 23;                   // ERROR_CRC
constexpr unsigned long kBadLength = 24;             // ERROR_BAD_LENGTH
constexpr unsigned long kSeek = 25;                  // ERROR_SEEK
constexpr unsigned long kNotDosDisk = 26;            // ERROR_NOT_DOS_DISK
constexpr unsigned long kSectorNotFound = 27;        // ERROR_SECTOR_NOT_FOUND
constexpr unsigned long kWriteFault = 29;            // ERROR_WRITE_FAULT
constexpr unsigned long kReadFault = 30;             // ERROR_READ_FAULT
constexpr unsigned long kGenFailure = 31;            // ERROR_GEN_FAILURE
constexpr unsigned long kSharingViolation = 32;      // ERROR_SHARING_VIOLATION
constexpr unsigned long kLockViolation = 33;         // ERROR_LOCK_VIOLATION
constexpr unsigned long kWrongDisk = 34;             // ERROR_WRONG_DISK
constexpr unsigned long kSharingBufferExceeded = 36; // ERROR_SHARING_BUFFER_EXCEEDED
constexpr unsigned long kHandleEof = 38;             // ERROR_HANDLE_EOF
constexpr unsigned long kHandleDiskFull = 39;        // ERROR_HANDLE_DISK_FULL
constexpr unsigned long kBadNetpath = 53;            // ERROR_BAD_NETPATH
constexpr unsigned long kNetworkNameDeleted = 64;    // ERROR_NETNAME_DELETED
constexpr unsigned long kNetworkAccessDenied = 65;   // ERROR_NETWORK_ACCESS_DENIED
constexpr unsigned long kBadNetName = 67;            // ERROR_BAD_NET_NAME
constexpr unsigned long kFileExists = 80;            // ERROR_FILE_EXISTS
constexpr unsigned long kCannotMake = 82;            // ERROR_CANNOT_MAKE
constexpr unsigned long kDriveLocked = 108;          // ERROR_DRIVE_LOCKED
constexpr unsigned long kDiskFull = 112;             // ERROR_DISK_FULL
constexpr unsigned long kCallNotImplemented = 120;   // ERROR_CALL_NOT_IMPLEMENTED
constexpr unsigned long kInvalidName = 123;          // ERROR_INVALID_NAME
constexpr unsigned long kNegativeSeek = 131;         // ERROR_NEGATIVE_SEEK
constexpr unsigned long kSeekOnDevice = 132;         // ERROR_SEEK_ON_DEVICE
constexpr unsigned long kDirNotEmpty = 145;          // ERROR_DIR_NOT_EMPTY
constexpr unsigned long kBadPathname = 161;          // ERROR_BAD_PATHNAME
constexpr unsigned long kLockFailed = 167;           // ERROR_LOCK_FAILED
constexpr unsigned long kAlreadyExists = 183;        // ERROR_ALREADY_EXISTS
constexpr unsigned long kFilenameTooLong = 206;      // ERROR_FILENAME_EXCED_RANGE
constexpr unsigned long kDirectory = 267;            // ERROR_DIRECTORY
constexpr unsigned long kIoDevice = 1117;            // ERROR_IO_DEVICE

} // namespace syserror
