// Moving a produced file to its target so that the target's name never holds a part of it,
// whatever fails and whenever the host is ended, and so that no file the host did not make in
// that move is ever deleted or written to. A move within one volume is one rename, whatever two
// names the paths reach that volume by. A move to another volume copies into a part file that
// the system makes under a name of its own in the target's folder, writes it through to the
// drive, renames it to the target's name and only then deletes the produced file; any failure
// deletes that part again. The system calls stay behind FileCalls, so that the order of the
// steps is tested without Windows.
#pragma once

#include "CodePageText.h"

#include <string>

// The part's name: these three characters, four hexadecimal digits and ".tmp", as
// GetTempFileNameA makes it ("VelA3F1.tmp"). No print has such a name, since every print's name
// ends in ".tif".
constexpr char kPartFilePrefix[] = "Vel";

// The file calls a move needs. Each returns the system error code (GetLastError) of its
// failure, 0 when it worked.
class FileCalls {
  public:
    FileCalls() = default;
    virtual ~FileCalls() = default;
    FileCalls(const FileCalls&) = delete;
    FileCalls& operator=(const FileCalls&) = delete;

    // A rename that never copies: across volumes it fails with ERROR_NOT_SAME_DEVICE. Where
    // the system has none (Windows 9x), it fails with ERROR_CALL_NOT_IMPLEMENTED.
    virtual unsigned long RenameWithoutCopy(const std::string& from, const std::string& to) = 0;
    // The plain move: a rename within a volume, but a copy under the target's name and a
    // delete across volumes. Never onto an existing file.
    virtual unsigned long Move(const std::string& from, const std::string& to) = 0;
    // Makes a new, empty file in the folder (given with its last backslash) under a name that
    // no file there has, made of kPartFilePrefix, and gives its full path.
    virtual unsigned long MakePartFile(const std::string& folder, std::string& part) = 0;
    // Copies the file into the part that MakePartFile has just made, has the copy written
    // through to the drive and then gives it the file's last-write time.
    virtual unsigned long CopyWrittenThrough(const std::string& from, const std::string& part) = 0;
    virtual void Delete(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // The full path, whole; empty when it is not known or does not fit a path buffer.
    virtual std::string FullPath(const std::string& path) = 0;
};

// Moves the file, never onto an existing file. 0 when it moved, otherwise the system error
// code of the first failure. A target that exists fails with ERROR_ALREADY_EXISTS. The paths
// are read by the characters of their code page.
unsigned long MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                            const std::string& to);

// The volume's root of a full path, "X:\" (the letter in capitals) or "\\server\share\";
// empty for any other form, and for a network name with bytes of the upper half, in which a
// double-byte character may hide a backslash.
std::string VolumeRoot(const std::string& fullPath);
