// Moving a produced file to its target so that the target's name never holds a part of it,
// whatever fails and whenever the host is ended. A move within one volume is one rename. A move
// to another volume copies to a part file beside the target, writes it through to the drive,
// renames it to the target's name and only then deletes the produced file; any failure deletes
// the part again. The system calls stay behind FileCalls, so that the order of the steps is
// tested without Windows.
#pragma once

#include <string>

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
    // Copies the file to a new file, which keeps the last-write time, and has its data written
    // through to the drive before it returns. Never onto an existing file.
    virtual unsigned long CopyWrittenThrough(const std::string& from, const std::string& to) = 0;
    virtual void Delete(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // The full path, whole; empty when it is not known or does not fit a path buffer.
    virtual std::string FullPath(const std::string& path) = 0;
};

// Moves the file, never onto an existing file. 0 when it moved, otherwise the system error
// code of the first failure. A target that exists fails with ERROR_ALREADY_EXISTS.
unsigned long MoveFileWhole(FileCalls& calls, const std::string& from, const std::string& to);

// The volume's root of a full path, "X:\" (the letter in capitals) or "\\server\share\";
// empty for any other form, and for a network name with bytes of the upper half, in which a
// double-byte character may hide a backslash.
std::string VolumeRoot(const std::string& fullPath);

// Where a copy to another volume is written before it takes the target's name: beside the
// target, under its name with the last character changed to '~' ('-' when it is a '~'). Every
// print's name ends in ".tif", so no print has such a name; it is as long as the target's, so
// it fits wherever the target fits.
std::string PartFilePath(const std::string& target);
