#include "FileMove.h"

namespace {

// System error codes by number, so that this builds without the platform's headers.
constexpr unsigned long kNoError = 0;
constexpr unsigned long kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
constexpr unsigned long kFileExists = 80;          // ERROR_FILE_EXISTS
constexpr unsigned long kCallNotImplemented = 120; // ERROR_CALL_NOT_IMPLEMENTED
constexpr unsigned long kAlreadyExists = 183;      // ERROR_ALREADY_EXISTS

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

enum class Roots { same, different, unknown };

Roots CompareRoots(FileCalls& calls, const std::string& from, const std::string& to) {
    const std::string fromRoot = VolumeRoot(calls.FullPath(from));
    const std::string toRoot = VolumeRoot(calls.FullPath(to));
    if (fromRoot.empty() || toRoot.empty()) {
        return Roots::unknown;
    }
    return fromRoot == toRoot ? Roots::same : Roots::different;
}

// An existing target is refused before the copy, which would be wasted: the overwrite question
// follows, and after its Yes the whole copy would be made again; a missing produced file is
// still reported as such. A part that a host ended during an earlier copy may lie under the
// part's name: the copy, which never overwrites, finds it, and it is deleted and the copy made
// again. The part is renamed only once its data is on the drive, so that neither an ended host
// nor a lost power supply can leave a part under the target's name.
unsigned long CopyThroughPart(FileCalls& calls, const std::string& from, const std::string& to) {
    if (calls.Exists(to) && calls.Exists(from)) {
        return kAlreadyExists;
    }
    const std::string part = PartFilePath(to);
    unsigned long failure = calls.CopyWrittenThrough(from, part);
    if (failure == kFileExists) {
        calls.Delete(part);
        failure = calls.CopyWrittenThrough(from, part);
    }
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

// Paths of two roots are never tried with a rename: it would fail, and under Wine the failure
// costs about a tenth of copying 10 MB. One root may still hold several volumes (a file system
// mounted in a folder), so where the system has a rename that refuses to copy, that rename
// decides. Windows 9x has none but mounts nothing in folders: there the same root is enough for
// a plain move, and paths whose roots are not known go through a part, since a plain move taken
// for one within a volume by mistake would copy under the target's name.
unsigned long MoveFileWhole(FileCalls& calls, const std::string& from, const std::string& to) {
    const Roots roots = CompareRoots(calls, from, to);
    if (roots != Roots::different) {
        const unsigned long renamed = calls.RenameWithoutCopy(from, to);
        if (renamed == kCallNotImplemented && roots == Roots::same) {
            return calls.Move(from, to);
        }
        if (renamed != kNotSameDevice && renamed != kCallNotImplemented) {
            return renamed;
        }
    }
    return CopyThroughPart(calls, from, to);
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

std::string PartFilePath(const std::string& target) {
    std::string part = target;
    if (!part.empty()) {
        part.back() = part.back() == '~' ? '-' : '~';
    }
    return part;
}
