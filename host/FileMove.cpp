#include "FileMove.h"

#include "VelloraNames.h"

namespace {

// System error codes by number, so that this builds without the platform's headers.
constexpr unsigned long kNoError = 0;
constexpr unsigned long kFileNotFound = 2;         // ERROR_FILE_NOT_FOUND
constexpr unsigned long kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
constexpr unsigned long kCallNotImplemented = 120; // ERROR_CALL_NOT_IMPLEMENTED
constexpr unsigned long kBadPathname = 161;        // ERROR_BAD_PATHNAME
constexpr unsigned long kAlreadyExists = 183;      // ERROR_ALREADY_EXISTS
constexpr unsigned long kFilenameTooLong = 206;    // ERROR_FILENAME_EXCED_RANGE

// GetTempFileNameA takes a folder of at most MAX_PATH - 14 characters.
constexpr std::string::size_type kLongestPartFolder = vellora::kPathBufferSize - 14;

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char Capital(char letter) {
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

bool HasUpperHalfByte(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

// "\\server\share\" of "\\server\share\...", with both names present; "\\?\" and "\\.\" name
// no share.
std::string NetworkRoot(const std::string& fullPath) {
    const std::string::size_type serverEnd = fullPath.find('\\', 2);
    if (serverEnd == std::string::npos) {
        return std::string();
    }
    const std::string server = fullPath.substr(2, serverEnd - 2);
    const std::string::size_type shareEnd = fullPath.find('\\', serverEnd + 1);
    const std::string share = fullPath.substr(serverEnd + 1, shareEnd - serverEnd - 1);
    if (server.empty() || server == "?" || server == "." || share.empty()) {
        return std::string();
    }
    const std::string root = "\\\\" + server + "\\" + share + "\\";
    return HasUpperHalfByte(root) ? std::string() : root;
}

// Windows 9x mounts nothing in folders, so one drive letter or one share is one volume. Two
// names of one volume (a SUBST drive, a mapped letter beside the share's own name) are taken for
// two volumes there: 9x has no rename that would tell, and a copy through a part is slower but
// never wrong.
bool OnOneRoot(FileCalls& calls, const std::string& from, const std::string& to) {
    const std::string fromRoot = VolumeRoot(calls.FullPath(from));
    return !fromRoot.empty() && fromRoot == VolumeRoot(calls.FullPath(to));
}

// The target's folder with its last backslash, which the part is made in: never a drive's
// current folder ("c:Doc.tif") or the process's, which a path of another form would give.
unsigned long PartFolder(FileCalls& calls, const LeadByteRule& codePage, const std::string& to,
                         std::string& folder) {
    const std::string fullPath = calls.FullPath(to);
    const std::string::size_type lastBackslash = FindLastCharacter(fullPath, '\\', codePage);
    if (lastBackslash == std::string::npos) {
        return kBadPathname;
    }
    folder = fullPath.substr(0, lastBackslash + 1);
    return folder.size() <= kLongestPartFolder ? kNoError : kFilenameTooLong;
}

// An existing target is refused before the copy, which would be wasted: the overwrite question
// follows, and after its Yes the whole copy would be made again. The part is a new file that
// the system names in the target's folder, so no file of that name is ever met, and only the
// part the host has just made is ever deleted. A part that a host ended during a copy left
// behind is no different to the host from a file of the user's: it stays. The part is renamed
// only once its data is on the drive, so that neither an ended host nor a lost power supply can
// leave a part under the target's name.
unsigned long CopyThroughPart(FileCalls& calls, const LeadByteRule& codePage,
                              const std::string& from, const std::string& to) {
    if (calls.Exists(to) && calls.Exists(from)) {
        return kAlreadyExists;
    }
    std::string folder;
    std::string part;
    unsigned long failure = PartFolder(calls, codePage, to, folder);
    if (failure == kNoError) {
        failure = calls.MakePartFile(folder, part);
    }
    if (failure != kNoError) {
        // Nothing was made: a missing produced file is still reported as such.
        return calls.Exists(from) ? failure : kFileNotFound;
    }
    failure = calls.CopyWrittenThrough(from, part);
    if (failure == kNoError) {
        failure = calls.Move(part, to);
    }
    if (failure != kNoError) {
        calls.Delete(part);
        return failure;
    }
    // The print is in place: a produced file that stays is the caller's to remove.
    calls.Delete(from);
    return kNoError;
}

} // namespace

// Where the system has a rename that refuses to copy (Windows NT), that rename decides, whatever
// the paths' names: two drive letters, or a letter and a share, may name one volume, and one
// drive letter may hold several (a file system mounted in a folder). Its failure across volumes
// costs less than asking for the two volumes' serial numbers (under Wine 0.15 ms against
// 0.9 ms), and Wine makes a drive's serial number of its letter, which would take one volume
// for two. Windows 9x has no such rename: there paths of one root are one plain move, and any
// other paths go through a part, since a plain move between two volumes copies under the
// target's name.
unsigned long MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                            const std::string& to) {
    const unsigned long renamed = calls.RenameWithoutCopy(from, to);
    if (renamed == kCallNotImplemented) {
        return OnOneRoot(calls, from, to) ? calls.Move(from, to)
                                          : CopyThroughPart(calls, codePage, from, to);
    }
    return renamed == kNotSameDevice ? CopyThroughPart(calls, codePage, from, to) : renamed;
}

std::string VolumeRoot(const std::string& fullPath) {
    if (fullPath.size() >= 3 && IsLetter(fullPath[0]) && fullPath[1] == ':' &&
        fullPath[2] == '\\') {
        return std::string{Capital(fullPath[0]), ':', '\\'};
    }
    if (fullPath.size() > 2 && fullPath[0] == '\\' && fullPath[1] == '\\') {
        return NetworkRoot(fullPath);
    }
    return std::string();
}
