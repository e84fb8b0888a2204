#include "FileCallsWin32.h"

#include "SystemErrorCodes.h"
#include "WindowsPaths.h"

#include <windows.h>

static_assert(FileStamp::kFolderAttribute == FILE_ATTRIBUTE_DIRECTORY, "FILE_ATTRIBUTE_DIRECTORY");
static_assert(syserror::kSuccess == ERROR_SUCCESS, "ERROR_SUCCESS");
static_assert(syserror::kFileNotFound == ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND");
static_assert(syserror::kPathNotFound == ERROR_PATH_NOT_FOUND, "ERROR_PATH_NOT_FOUND");
static_assert(syserror::kTooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES,
              "ERROR_TOO_MANY_OPEN_FILES");
static_assert(syserror::kAccessDenied == ERROR_ACCESS_DENIED, "ERROR_ACCESS_DENIED");
static_assert(syserror::kInvalidHandle == ERROR_INVALID_HANDLE, "ERROR_INVALID_HANDLE");
static_assert(syserror::kNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY, "ERROR_NOT_ENOUGH_MEMORY");
static_assert(syserror::kBadFormat == ERROR_BAD_FORMAT, "ERROR_BAD_FORMAT");
static_assert(syserror::kInvalidAccess == ERROR_INVALID_ACCESS, "ERROR_INVALID_ACCESS");
static_assert(syserror::kInvalidDrive == ERROR_INVALID_DRIVE, "ERROR_INVALID_DRIVE");
static_assert(syserror::kCurrentDirectory == ERROR_CURRENT_DIRECTORY, "ERROR_CURRENT_DIRECTORY");
static_assert(syserror::kNotSameDevice == ERROR_NOT_SAME_DEVICE, "ERROR_NOT_SAME_DEVICE");
static_assert(syserror::kNoMoreFiles == ERROR_NO_MORE_FILES, "ERROR_NO_MORE_FILES");
static_assert(syserror::kWriteProtect == ERROR_WRITE_PROTECT, "ERROR_WRITE_PROTECT");
static_assert(syserror::kBadUnit == ERROR_BAD_UNIT, "ERROR_BAD_UNIT");
static_assert(syserror::kNotReady == ERROR_NOT_READY, "ERROR_NOT_READY");
static_assert(syserror::kBadCommand == ERROR_BAD_COMMAND, "ERROR_BAD_COMMAND");
static_assert(syserror::kCrc == ERROR_CRC, "ERROR_CRC");
static_assert(syserror::kBadLength == ERROR_BAD_LENGTH, "ERROR_BAD_LENGTH");
static_assert(syserror::kSeek == ERROR_SEEK, "ERROR_SEEK");
static_assert(syserror::kNotDosDisk == ERROR_NOT_DOS_DISK, "ERROR_NOT_DOS_DISK");
static_assert(syserror::kSectorNotFound == ERROR_SECTOR_NOT_FOUND, "ERROR_SECTOR_NOT_FOUND");
static_assert(syserror::kWriteFault == ERROR_WRITE_FAULT, "ERROR_WRITE_FAULT");
static_assert(syserror::kReadFault == ERROR_READ_FAULT, "ERROR_READ_FAULT");
static_assert(syserror::kGenFailure == ERROR_GEN_FAILURE, "ERROR_GEN_FAILURE");
static_assert(syserror::kSharingViolation == ERROR_SHARING_VIOLATION, "ERROR_SHARING_VIOLATION");
static_assert(syserror::kLockViolation == ERROR_LOCK_VIOLATION, "ERROR_LOCK_VIOLATION");
static_assert(syserror::kWrongDisk == ERROR_WRONG_DISK, "ERROR_WRONG_DISK");
static_assert(syserror::kSharingBufferExceeded == ERROR_SHARING_BUFFER_EXCEEDED,
              "ERROR_SHARING_BUFFER_EXCEEDED");
static_assert(syserror::kHandleEof == ERROR_HANDLE_EOF, "ERROR_HANDLE_EOF");
static_assert(syserror::kHandleDiskFull == ERROR_HANDLE_DISK_FULL, "ERROR_HANDLE_DISK_FULL");
static_assert(syserror::kBadNetpath == ERROR_BAD_NETPATH, "ERROR_BAD_NETPATH");
static_assert(syserror::kNetworkNameDeleted == ERROR_NETNAME_DELETED, "ERROR_NETNAME_DELETED");
static_assert(syserror::kNetworkAccessDenied == ERROR_NETWORK_ACCESS_DENIED,
              "ERROR_NETWORK_ACCESS_DENIED");
static_assert(syserror::kBadNetName == ERROR_BAD_NET_NAME, "ERROR_BAD_NET_NAME");
static_assert(syserror::kFileExists == ERROR_FILE_EXISTS, "ERROR_FILE_EXISTS");
static_assert(syserror::kCannotMake == ERROR_CANNOT_MAKE, "ERROR_CANNOT_MAKE");
static_assert(syserror::kDriveLocked == ERROR_DRIVE_LOCKED, "ERROR_DRIVE_LOCKED");
static_assert(syserror::kDiskFull == ERROR_DISK_FULL, "ERROR_DISK_FULL");
static_assert(syserror::kCallNotImplemented == ERROR_CALL_NOT_IMPLEMENTED,
              "ERROR_CALL_NOT_IMPLEMENTED");
static_assert(syserror::kInvalidName == ERROR_INVALID_NAME, "ERROR_INVALID_NAME");
static_assert(syserror::kNegativeSeek == ERROR_NEGATIVE_SEEK, "ERROR_NEGATIVE_SEEK");
static_assert(syserror::kSeekOnDevice == ERROR_SEEK_ON_DEVICE, "ERROR_SEEK_ON_DEVICE");
static_assert(syserror::kDirNotEmpty == ERROR_DIR_NOT_EMPTY, "ERROR_DIR_NOT_EMPTY");
static_assert(syserror::kBadPathname == ERROR_BAD_PATHNAME, "ERROR_BAD_PATHNAME");
static_assert(syserror::kLockFailed == ERROR_LOCK_FAILED, "ERROR_LOCK_FAILED");
static_assert(syserror::kAlreadyExists == ERROR_ALREADY_EXISTS, "ERROR_ALREADY_EXISTS");
static_assert(syserror::kFilenameTooLong == ERROR_FILENAME_EXCED_RANGE,
              "ERROR_FILENAME_EXCED_RANGE");
static_assert(syserror::kDirectory == ERROR_DIRECTORY, "ERROR_DIRECTORY");
static_assert(syserror::kIoDevice == ERROR_IO_DEVICE, "ERROR_IO_DEVICE");

namespace {

unsigned long ResultOf(BOOL done) {
    return done ? ERROR_SUCCESS : GetLastError();
}

bool IsWindowsNt() {
    return (GetVersion() & 0x80000000u) == 0;
}

// Copies in blocks of this size, in memory taken for the copy and returned after it, so that
// the resident host keeps nothing of it. Blocks of a megabyte measured slower, probably since
// each copy then faults in that much fresh memory and a block no longer stays in the
// processor's cache between its read and its write.
constexpr DWORD kCopyBlockBytes = 64 * 1024;

class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE owned) : handle(owned) {}
    ~OwnedHandle() { Reset(INVALID_HANDLE_VALUE); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle; }
    void Reset(HANDLE owned) {
        if (Valid()) {
            CloseHandle(handle);
        }
        handle = owned;
    }

  private:
    HANDLE handle;
};

// A write that takes less than it was given means that the drive took no more.
unsigned long CopyContents(HANDLE source, HANDLE target, char* block) {
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, block, kCopyBlockBytes, &read, nullptr)) {
            return GetLastError();
        }
        if (read == 0) {
            return ERROR_SUCCESS;
        }
        DWORD written = 0;
        if (!WriteFile(target, block, read, &written, nullptr)) {
            return GetLastError();
        }
        if (written != read) {
            return ERROR_DISK_FULL;
        }
    }
}

// A copy keeps the time the print was made, as a rename does. Set once the data is written
// through, so that no write still on its way to the drive (a network redirector's, say) stamps
// the time anew.
void KeepLastWriteTime(HANDLE source, HANDLE target) {
    FILETIME lastWrite;
    if (GetFileTime(source, nullptr, nullptr, &lastWrite)) {
        SetFileTime(target, nullptr, nullptr, &lastWrite);
    }
}

// CopyFileA would open the copy once more to write it through, which under Wine costs a tenth
// of copying 10 MB, and would leave a moment in which another program could take the file.
unsigned long CopyAndWriteThrough(const std::string& from, HANDLE part) {
    const OwnedHandle source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid()) {
        return GetLastError();
    }
    void* const block = VirtualAlloc(nullptr, kCopyBlockBytes, MEM_COMMIT, PAGE_READWRITE);
    if (!block) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    const unsigned long failure = CopyContents(source.Get(), part, static_cast<char*>(block));
    VirtualFree(block, 0, MEM_RELEASE);
    if (failure != ERROR_SUCCESS) {
        return failure;
    }
    if (!FlushFileBuffers(part)) {
        return GetLastError();
    }
    KeepLastWriteTime(source.Get(), part);
    return ERROR_SUCCESS;
}

// For reading, shared with no one: this never changes a file, and it opens only while no other
// handle of the file is open, the host's own included.
HANDLE OpenAlone(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool RefusedAsShared() {
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Both files held open alone at once: two files. The second refused as shared while the first is
// held alone, and the first refused the same way while the second is held alone: one file. The
// second test keeps a third program that holds the second file from passing for the first.
FileIdentity CompareBySharing(const std::string& first, const std::string& second) {
    OwnedHandle firstFile(OpenAlone(first));
    if (!firstFile.Valid()) {
        return FileIdentity::unknown;
    }
    if (OwnedHandle(OpenAlone(second)).Valid()) {
        return FileIdentity::different;
    }
    if (!RefusedAsShared()) {
        return FileIdentity::unknown;
    }
    firstFile.Reset(INVALID_HANDLE_VALUE);
    const OwnedHandle secondFile(OpenAlone(second));
    if (!secondFile.Valid()) {
        return FileIdentity::unknown;
    }
    if (OwnedHandle(OpenAlone(first)).Valid()) {
        return FileIdentity::different;
    }
    return RefusedAsShared() ? FileIdentity::same : FileIdentity::unknown;
}

unsigned long long Joined(DWORD high, DWORD low) {
    return (static_cast<unsigned long long>(high) << 32) | low;
}

unsigned long long TimeOf(const FILETIME& time) {
    return Joined(time.dwHighDateTime, time.dwLowDateTime);
}

FileStamp StampOf(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& created,
                  const FILETIME& written) {
    FileStamp stamp;
    stamp.known = true;
    stamp.found = true;
    stamp.attributes = attributes;
    stamp.size = Joined(sizeHigh, sizeLow);
    stamp.created = TimeOf(created);
    stamp.written = TimeOf(written);
    return stamp;
}

// Nothing there is known; any other failure leaves the stamp unknown.
FileStamp StampOfFailure() {
    const DWORD failure = GetLastError();
    FileStamp stamp;
    stamp.known = failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND;
    return stamp;
}

} // namespace

Win32FileCalls::Win32FileCalls() : part(INVALID_HANDLE_VALUE) {}

Win32FileCalls::~Win32FileCalls() {
    ClosePart();
}

void Win32FileCalls::ClosePart() {
    if (part != INVALID_HANDLE_VALUE) {
        CloseHandle(part);
        part = INVALID_HANDLE_VALUE;
    }
}

// Windows 9x does not implement MoveFileExA: it is looked up, never imported, and only on
// Windows NT.
static decltype(&MoveFileExA) MoveFileExFunction() {
    static const auto moveFileEx =
        IsWindowsNt() ? SystemFunction<decltype(&MoveFileExA)>("kernel32.dll", "MoveFileExA")
                      : nullptr;
    return moveFileEx;
}

bool Win32FileCalls::HasRenameWithoutCopy() {
    return MoveFileExFunction() != nullptr;
}

unsigned long Win32FileCalls::RenameWithoutCopy(const std::string& from, const std::string& to,
                                                ExistingTarget existing) {
    const auto moveFileEx = MoveFileExFunction();
    const DWORD flags = existing == ExistingTarget::replace ? MOVEFILE_REPLACE_EXISTING : 0;
    return ResultOf(moveFileEx(from.c_str(), to.c_str(), flags));
}

unsigned long Win32FileCalls::Move(const std::string& from, const std::string& to) {
    return ResultOf(MoveFileA(from.c_str(), to.c_str()));
}

// Shared with no one until it is whole, so that no other program writes into it meanwhile.
unsigned long Win32FileCalls::CreatePart(const std::string& path) {
    ClosePart();
    part = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    return part == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
}

unsigned long Win32FileCalls::FillPart(const std::string& from) {
    const unsigned long failure =
        part != INVALID_HANDLE_VALUE ? CopyAndWriteThrough(from, part) : ERROR_INVALID_HANDLE;
    ClosePart();
    return failure;
}

unsigned long Win32FileCalls::Delete(const std::string& path) {
    return ResultOf(DeleteFileA(path.c_str()));
}

bool Win32FileCalls::Exists(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD failure = GetLastError();
    return failure != ERROR_FILE_NOT_FOUND && failure != ERROR_PATH_NOT_FOUND;
}

bool Win32FileCalls::IsReadOnlyOrFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

FileIdentity Win32FileCalls::CompareFiles(const std::string& first, const std::string& second) {
    return CompareBySharing(first, second);
}

// The attributes, times and size without opening the file, so that no other program's sharing
// refuses them: GetFileAttributesExA where the system has it (Windows 98 and NT 4.0 on; under
// Wine it costs a twentieth of the folder's listing, measured), else the folder's listing, which
// Windows 95 has. The host's paths hold no wildcard (NamesPlainFile).
FileStamp Win32FileCalls::Stamp(const std::string& path) {
    static const auto attributesEx =
        SystemFunction<decltype(&GetFileAttributesExA)>("kernel32.dll", "GetFileAttributesExA");
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (attributesEx != nullptr) {
        return attributesEx(path.c_str(), GetFileExInfoStandard, &data)
                   ? StampOf(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
                             data.ftCreationTime, data.ftLastWriteTime)
                   : StampOfFailure();
    }
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return StampOfFailure();
    }
    FindClose(search);
    return StampOf(found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
                   found.ftCreationTime, found.ftLastWriteTime);
}

std::string Win32FileCalls::FullPath(const std::string& path) {
    char full[MAX_PATH] = "";
    char* fileName = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, &fileName);
    return length > 0 && length < sizeof(full) ? std::string(full, length) : std::string();
}
