#include "FileCallsWin32.h"

#include "WindowsPaths.h"

#include <windows.h>

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

// Shared for reading and writing, so that no other program's open file keeps the host from
// asking, and opened for reading only: this never changes a file.
HANDLE OpenToCompare(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A redirector that gives no index gives zero.
bool HasIdentity(const BY_HANDLE_FILE_INFORMATION& file) {
    return file.nFileIndexHigh != 0 || file.nFileIndexLow != 0;
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

// The identity holds only while both files are open (Windows 95 may give a file another index
// when it is next opened), so both are held open together.
FileIdentity Win32FileCalls::CompareFiles(const std::string& first, const std::string& second) {
    const OwnedHandle firstFile(OpenToCompare(first));
    const OwnedHandle secondFile(OpenToCompare(second));
    BY_HANDLE_FILE_INFORMATION firstInformation = {};
    BY_HANDLE_FILE_INFORMATION secondInformation = {};
    if (!firstFile.Valid() || !secondFile.Valid() ||
        !GetFileInformationByHandle(firstFile.Get(), &firstInformation) ||
        !GetFileInformationByHandle(secondFile.Get(), &secondInformation) ||
        !HasIdentity(firstInformation) || !HasIdentity(secondInformation)) {
        return FileIdentity::unknown;
    }
    const bool same =
        firstInformation.dwVolumeSerialNumber == secondInformation.dwVolumeSerialNumber &&
        firstInformation.nFileIndexHigh == secondInformation.nFileIndexHigh &&
        firstInformation.nFileIndexLow == secondInformation.nFileIndexLow;
    return same ? FileIdentity::same : FileIdentity::different;
}

std::string Win32FileCalls::FullPath(const std::string& path) {
    char full[MAX_PATH] = "";
    char* fileName = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, &fileName);
    return length > 0 && length < sizeof(full) ? std::string(full, length) : std::string();
}

std::string Win32FileCalls::ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof(shortPath));
    return length > 0 && length < sizeof(shortPath) ? std::string(shortPath, length)
                                                    : std::string();
}
