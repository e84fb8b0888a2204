// Moving a produced file to its target so that the target's name never holds a part of it,
// whatever fails and whenever the host is ended, and so that no file the host did not make in
// that move is ever opened for writing, renamed or deleted, but the target after the user's Yes
// to the overwrite question. An earlier print at the target's name is replaced only by a new print
// that is whole beside it under a name the host made, or in one rename that replaces it.
//
// Only a rename may give the target its name: on Windows NT a rename that never copies, and
// otherwise a rename of a part within the target's own folder. A copy goes into a part that the
// host makes anew beside the target and writes through to the drive. Windows 9x has no rename
// that refuses to copy, and one drive letter may reach two file systems (a server's two volumes,
// a folder linked to another file system under Wine), so there every move copies. The system
// calls stay behind FileCalls, one call each, so that every step is followed without Windows.
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

// Whether two paths reach one file, as a test tells that two different files cannot pass.
enum class FileIdentity { same, different, unknown };

// What tells a file at a name from another one that took the name since: its attributes, times
// and size, as the folder's listing gives them. Equal only when both are known.
struct FileStamp {
    bool known = false;
    bool found = false;
    unsigned long attributes = 0;
    unsigned long long size = 0;
    unsigned long long created = 0;
    unsigned long long written = 0;

    bool operator==(const FileStamp& other) const {
        return known && other.known && found == other.found && attributes == other.attributes &&
               size == other.size && created == other.created && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
    bool IsFolder() const { return found && (attributes & kFolderAttribute) != 0; }

    // FILE_ATTRIBUTE_DIRECTORY.
    static constexpr unsigned long kFolderAttribute = 0x10;
};

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
    // That rename, replacing a file of the target's name when asked to: across file systems it
    // fails with ERROR_NOT_SAME_DEVICE. Called only where the system has it.
    virtual unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                            ExistingTarget existing) = 0;
    // The plain move, never onto an existing file. A rename within a file system, but a copy
    // under the target's name across file systems: the host calls it within one folder only.
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
    // Told by opening each file for reading without sharing while the other is held so: both
    // open only when they are two files, and neither opens while the other is held only when
    // they are one. Unknown when another program holds either, or either cannot be opened.
    virtual FileIdentity CompareFiles(const std::string& first, const std::string& second) = 0;
    // The stamp of what has the name now; not known when the system cannot tell.
    virtual FileStamp Stamp(const std::string& path) = 0;
    // The full path, whole; empty when it is not known or does not fit a path buffer.
    virtual std::string FullPath(const std::string& path) = 0;
};

// The file that the driver made, and its stamp when the driver handed it over: a file that has
// its name later but another stamp is not the driver's.
class ProducedFile {
  public:
    // Stamps the file at once. A path that names no plain file is never looked at: it has
    // nothing there.
    ProducedFile(std::string producedPath, const LeadByteRule& codePage, FileCalls& calls);

    const std::string& Path() const { return path; }
    const FileStamp& Made() const { return made; }
    // Whether the driver's file is still at its path.
    bool IsStillThere(FileCalls& calls) const { return calls.Stamp(path) == made; }

  private:
    std::string path;
    FileStamp made;
};

// How a move ended.
struct MoveResult {
    // The system error code of the first failure; 0 when the new print is at the target's name
    // (also when nothing had to move, the produced file being the target under another name).
    unsigned long failure = 0;
    // The move worked by a copy, and the produced file stayed behind at its path, known to be
    // another file than the print at the target's name: the caller discards it.
    bool leftBehind = false;
    // After Yes, a part that holds the only whole copy of the new print, which could not take
    // the target's name once the produced file was gone; empty otherwise.
    std::string keptAs;
    // After Yes another file took the target's name while the new print was copied: the Yes was
    // not for it, nothing was replaced, and the question is asked again.
    bool askAgain = false;
};

// Moves the file. A target that exists and is kept fails with ERROR_ALREADY_EXISTS; a target
// that names no plain file (NamesPlainFile) fails as a bad path, and a produced file of such a
// name as a file not found, before any call touches either. The paths are read by the characters
// of their code page; the target's name ends in ".tif". A target that is replaced is replaced
// only while it has the stamp `answeredFor`, that of the file the user's Yes was for.
MoveResult MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage,
                         const ProducedFile& produced, const std::string& to,
                         ExistingTarget existing, const FileStamp& answeredFor);
