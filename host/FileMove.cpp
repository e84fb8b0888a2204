#include "FileMove.h"

#include "VelloraNames.h"

namespace {

// System error codes by number, so that this builds without the platform's headers.
constexpr unsigned long kNoError = 0;
constexpr unsigned long kFileNotFound = 2;         // ERROR_FILE_NOT_FOUND
constexpr unsigned long kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
constexpr unsigned long kCannotMake = 82;          // ERROR_CANNOT_MAKE
constexpr unsigned long kCallNotImplemented = 120; // ERROR_CALL_NOT_IMPLEMENTED
constexpr unsigned long kBadPathname = 161;        // ERROR_BAD_PATHNAME
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

// Windows 9x mounts nothing in folders, so one drive letter or one share is one volume. Two
// names of one volume (a SUBST drive, a mapped letter beside the share's own name) are taken for
// two volumes there: 9x has no rename that would tell, and a copy through a part is slower but
// never wrong.
bool OnOneRoot(FileCalls& calls, const std::string& from, const std::string& to) {
    const std::string fromRoot = VolumeRoot(calls.FullPath(from));
    return !fromRoot.empty() && fromRoot == VolumeRoot(calls.FullPath(to));
}

bool StartsCharacter(const std::string& text, std::size_t from, std::size_t at,
                     const LeadByteRule& codePage) {
    std::size_t character = from;
    while (character < at) {
        character = CharacterEnd(text, character, codePage);
    }
    return character == at;
}

// The target's full path without its final ".tif", which the part's name goes on from: in the
// target's own folder, never a drive's current folder ("c:Doc.tif") or the process's, which a
// path of another form would give. False when the full path has no folder or no ".tif" of its
// own at the end.
bool PartStem(FileCalls& calls, const LeadByteRule& codePage, const std::string& to,
              std::string& stem) {
    const std::string fullPath = calls.FullPath(to);
    const std::string extension(vellora::kOutputExtension);
    const std::string::size_type nameStart = FindLastCharacter(fullPath, '\\', codePage);
    if (nameStart == std::string::npos || fullPath.size() - nameStart <= extension.size()) {
        return false;
    }
    const std::string::size_type extensionStart = fullPath.size() - extension.size();
    if (fullPath.compare(extensionStart, extension.size(), extension) != 0 ||
        !StartsCharacter(fullPath, nameStart, extensionStart, codePage)) {
        return false;
    }
    stem = fullPath.substr(0, extensionStart);
    return true;
}

char LowercaseHexDigit(unsigned value) {
    return "0123456789abcdef"[value & 0xF];
}

// The host makes the part itself, as a new file, so that it never writes into a file that was
// there before. A name that a file or folder has is passed over: a part that a host ended during
// a copy left behind is no different to the host from a file of the user's.
unsigned long CreatePartBeside(FileCalls& calls, const LeadByteRule& codePage,
                               const std::string& to, std::string& part) {
    std::string stem;
    if (!PartStem(calls, codePage, to, stem)) {
        return kBadPathname;
    }
    for (unsigned number = 0; number < kPartNamesToTry; ++number) {
        part =
            stem + kPartExtensionStart + LowercaseHexDigit(number >> 4) + LowercaseHexDigit(number);
        const unsigned long failure = calls.CreatePart(part);
        if (failure == kNoError || !calls.Exists(part)) {
            return failure;
        }
    }
    return kCannotMake;
}

// On Windows NT the part takes the target's name in one rename that replaces the earlier print.
// Windows 9x has none: there the earlier print is deleted only now that the new one is whole
// beside it.
unsigned long PutPartInPlace(FileCalls& calls, const std::string& part, const std::string& to,
                             ExistingTarget existing) {
    if (existing == ExistingTarget::keep) {
        return calls.Move(part, to);
    }
    const unsigned long renamed = calls.RenameWithoutCopy(part, to, existing);
    if (renamed != kCallNotImplemented) {
        return renamed;
    }
    calls.Delete(to);
    return calls.Move(part, to);
}

// A target that exists and is kept is refused before the copy, which would be wasted: the
// overwrite question follows. The part is renamed only once its data is on the drive, so that
// neither an ended host nor a lost power supply can leave a part under the target's name. Only
// the part the host has just made is ever deleted, and not once it holds the only whole copy of
// a print whose earlier print is gone: the produced file goes after the move whatever happens.
unsigned long CopyThroughPart(FileCalls& calls, const LeadByteRule& codePage,
                              const std::string& from, const std::string& to,
                              ExistingTarget existing) {
    if (existing == ExistingTarget::keep && calls.Exists(to) && calls.Exists(from)) {
        return kAlreadyExists;
    }
    const bool earlierPrint = existing == ExistingTarget::replace && calls.Exists(to);
    std::string part;
    unsigned long failure = CreatePartBeside(calls, codePage, to, part);
    if (failure != kNoError) {
        // Nothing was made: a missing produced file is still reported as such.
        return calls.Exists(from) ? failure : kFileNotFound;
    }
    failure = calls.FillPart(from);
    if (failure == kNoError) {
        failure = PutPartInPlace(calls, part, to, existing);
    }
    if (failure != kNoError) {
        if (!earlierPrint || calls.Exists(to)) {
            calls.Delete(part);
        }
        return failure;
    }
    // The print is in place: a produced file that stays is the caller's to remove.
    calls.Delete(from);
    return kNoError;
}

// Windows 9x: within one volume the earlier print goes just before the rename, as it always has.
unsigned long PlainMove(FileCalls& calls, const std::string& from, const std::string& to,
                        ExistingTarget existing) {
    if (existing == ExistingTarget::replace) {
        calls.Delete(to);
    }
    return calls.Move(from, to);
}

} // namespace

// Where the system has a rename that refuses to copy (Windows NT), that rename decides, whatever
// the paths' names: two drive letters, or a letter and a share, may name one volume, and one
// drive letter may hold several (a file system mounted in a folder). Its failure across volumes
// costs less than asking for the two volumes' serial numbers (under Wine 0.15 ms against
// 0.9 ms), and Wine makes a drive's serial number of its letter, which would take one volume
// for two. Only ERROR_NOT_SAME_DEVICE means another volume: the system's own MoveFileEx copies
// on that failure alone (its documentation: "if the new file name is on a different volume ...
// and causes the rename operation to fail"; Wine's and ReactOS's kernel32 copy only on
// STATUS_NOT_SAME_DEVICE), so a redirector that answered otherwise would fail a plain MoveFile
// as well. Windows 9x has no such rename: there paths of one root are one plain move, and any
// other paths go through a part, since a plain move between two volumes copies under the
// target's name.
unsigned long MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                            const std::string& to, ExistingTarget existing) {
    const unsigned long renamed = calls.RenameWithoutCopy(from, to, existing);
    if (renamed == kCallNotImplemented) {
        return OnOneRoot(calls, from, to) ? PlainMove(calls, from, to, existing)
                                          : CopyThroughPart(calls, codePage, from, to, existing);
    }
    return renamed == kNotSameDevice ? CopyThroughPart(calls, codePage, from, to, existing)
                                     : renamed;
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
