#include "FileMove.h"

namespace {

// System error codes by number, so that this builds without the platform's headers.
constexpr unsigned long kNoError = 0;
constexpr unsigned long kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
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

// Only roots known for certain count as one volume: a move that is taken for one by mistake
// would be a copy under the target's name, while one taken for two only costs a copy.
bool OnOneVolume(FileCalls& calls, const std::string& from, const std::string& to) {
    const std::string fromRoot = VolumeRoot(calls.FullPath(from));
    return !fromRoot.empty() && fromRoot == VolumeRoot(calls.FullPath(to));
}

// A part that a host ended during an earlier copy may lie under the part's name; it is
// deleted first. The part is renamed only once its data is on the drive, so that neither an
// ended host nor a lost power supply can leave a part under the target's name.
unsigned long CopyThroughPart(FileCalls& calls, const std::string& from, const std::string& to) {
    const std::string part = PartFilePath(to);
    calls.Delete(part);
    unsigned long failure = calls.Copy(from, part);
    if (failure == kNoError) {
        failure = calls.Flush(part);
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

// An existing target is refused before the copy, which would be wasted: the overwrite question
// follows, and after its Yes the whole copy would be made again. A missing produced file is
// still reported as such.
unsigned long MoveFileWhole(FileCalls& calls, const std::string& from, const std::string& to) {
    const unsigned long renamed = calls.RenameWithoutCopy(from, to);
    if (renamed == kCallNotImplemented && OnOneVolume(calls, from, to)) {
        return calls.Move(from, to);
    }
    if (renamed != kNotSameDevice && renamed != kCallNotImplemented) {
        return renamed;
    }
    if (calls.Exists(to) && calls.Exists(from)) {
        return kAlreadyExists;
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
