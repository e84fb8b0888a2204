// Moving a produced file to its target so that the target's name never holds a part of it,
// whatever fails and whenever the host is ended, and so that no file the host did not make in
// that move is ever opened for writing, renamed or deleted, but the target after the user's Yes
// to the overwrite question. An earlier print at the target's name is replaced only by a new print
// that is whole beside it under a name the host made, or in one rename that replaces it. A move
// within one volume is a rename; a move to another volume copies into a part file that the host
// makes anew beside the target, writes it through to the drive, gives it the target's name and
// only then deletes the produced file. The system calls stay behind FileCalls, one call each, so
// that every step is followed without Windows.
#pragma once

#include "CodePageText.h"

#include <string>

// The part's name is the target's name with its final ".tif" replaced by ".~" and two lowercase
// hexadecimal digits, the first of ".~00" to ".~ff" that no file or folder has: "Report.~00"
// beside "Report.tif". It is never longer than the target's name, so it fits wherever the target
// fits, and it never ends in ".tif", as every print's name does.
constexpr char kPartExtensionStart[] = ".~";
constexpr unsigned kPartNamesToTry = 256;

// What a move does with a file that has the target's name.
enum class ExistingTarget {
    keep,    // the move fails with ERROR_ALREADY_EXISTS
    replace, // the new print takes its place, once it is whole beside it
};

// Whether two paths reach one file.
enum class FileIdentity { same, different, unknown };

// The file calls a move needs, each one system call. Those that return a number return the
// system error code (GetLastError) of their failure, 0 when it worked.
class FileCalls {
  public:
    FileCalls() = default;
    virtual ~FileCalls() = default;
    FileCalls(const FileCalls&) = delete;
    FileCalls& operator=(const FileCalls&) = delete;

    // Whether the system has a rename that never copies (Windows NT); Windows 9x has none.
    virtual bool HasRenameWithoutCopy() = 0;
    // That rename, replacing a file of the target's name when asked to: across volumes it fails
    // with ERROR_NOT_SAME_DEVICE. Called only where the system has it.
    virtual unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                            ExistingTarget existing) = 0;
    // The plain move: a rename within a volume, but a copy under the target's name and a
    // delete across volumes. Never onto an existing file.
    virtual unsigned long Move(const std::string& from, const std::string& to) = 0;
    // Makes a new, empty file of that name, failing when any file or folder has it, and keeps it
    // open for FillPart alone.
    virtual unsigned long CreatePart(const std::string& part) = 0;
    // Copies the file into the part that CreatePart has just made, on the handle it keeps, has
    // the copy written through to the drive, gives it the file's last-write time and closes it.
    virtual unsigned long FillPart(const std::string& from) = 0;
    virtual unsigned long Delete(const std::string& path) = 0;
    // Whether a file or folder has the name; true also when the system cannot tell, which is
    // the careful answer wherever the host asks.
    virtual bool Exists(const std::string& path) = 0;
    // False also when the system cannot tell.
    virtual bool IsReadOnlyOrFolder(const std::string& path) = 0;
    // Told by the identity that the system gives two files held open at once; unknown when
    // either cannot be opened or the system gives none.
    virtual FileIdentity CompareFiles(const std::string& first, const std::string& second) = 0;
    // The full path, whole; empty when it is not known or does not fit a path buffer.
    virtual std::string FullPath(const std::string& path) = 0;
    // The path in the short (8.3) names of an existing file, whole; empty when not known.
    virtual std::string ShortPath(const std::string& path) = 0;
};

// How a move ended.
struct MoveResult {
    // The system error code of the first failure; 0 when the new print is at the target's name.
    unsigned long failure = 0;
    // The produced file is the target, under another name: nothing was moved, and the print is
    // where it was made.
    bool producedFileIsTarget = false;
    // After Yes, a part that holds the only whole copy of the new print, which could not take
    // the target's name once the produced file was gone; empty otherwise.
    std::string keptAs;
};

// Moves the file. A target that exists and is kept fails with ERROR_ALREADY_EXISTS; a target
// that Windows takes for a device fails as a bad path, and a produced file of such a name as a
// file not found, before any call touches either. The paths are read by the characters of their
// code page; the target's name ends in ".tif".
MoveResult MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                         const std::string& to, ExistingTarget existing);

// Whether Windows takes the path's file name for a device whatever its folder and extension:
// CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 and the like, in any case.
bool NamesDevice(const std::string& path, const LeadByteRule& codePage);

// The volume's root of a full path, "X:\" (the letter in capitals) or "\\server\share\";
// empty for any other form, and for a network name with bytes of the upper half, in which a
// double-byte character may hide a backslash.
std::string VolumeRoot(const std::string& fullPath);
