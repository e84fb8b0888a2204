#include "FileMove.h"

#include "VelloraNames.h"

namespace {

// System error codes by number, so that this builds without the platform's headers.
constexpr unsigned long kNoError = 0;
constexpr unsigned long kFileNotFound = 2;         // ERROR_FILE_NOT_FOUND
constexpr unsigned long kPathNotFound = 3;         // ERROR_PATH_NOT_FOUND
constexpr unsigned long kAccessDenied = 5;         // ERROR_ACCESS_DENIED
constexpr unsigned long kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
constexpr unsigned long kFileExists = 80;          // ERROR_FILE_EXISTS
constexpr unsigned long kCannotMake = 82;          // ERROR_CANNOT_MAKE
constexpr unsigned long kCallNotImplemented = 120; // ERROR_CALL_NOT_IMPLEMENTED
constexpr unsigned long kBadPathname = 161;        // ERROR_BAD_PATHNAME
constexpr unsigned long kAlreadyExists = 183;      // ERROR_ALREADY_EXISTS

MoveResult Ended(unsigned long failure) {
    MoveResult result;
    result.failure = failure;
    return result;
}

MoveResult ProducedFileIsTarget() {
    MoveResult result = Ended(kNoError);
    result.producedFileIsTarget = true;
    return result;
}

MoveResult KeptInPart(unsigned long failure, const std::string& part) {
    MoveResult result = Ended(failure);
    result.keptAs = part;
    return result;
}

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

// Names are matched as the file systems match them: letters without case, a double-byte
// character byte for byte.
bool SameName(const std::string& first, const std::string& second, const LeadByteRule& codePage) {
    if (first.empty() || first.size() != second.size()) {
        return false;
    }
    for (std::size_t at = 0; at < first.size();) {
        const std::size_t end = CharacterEnd(first, at, codePage);
        const bool same = end - at == 1 ? Capital(first[at]) == Capital(second[at])
                                        : first.compare(at, end - at, second, at, end - at) == 0;
        if (!same) {
            return false;
        }
        at = end;
    }
    return true;
}

std::string ShortFullPath(FileCalls& calls, const std::string& path) {
    const std::string shortPath = calls.ShortPath(path);
    return shortPath.empty() ? shortPath : calls.FullPath(shortPath);
}

// Windows 95 gives a file's identity (its volume's serial number and an index) for two files held
// open at once, but not every network redirector gives one. Where it is missing, the full paths
// in long and in short names tell: they catch the same path written twice and a short name, not
// a second drive letter. Neither way ever takes two files for one.
bool IsOneFile(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
               const std::string& to) {
    switch (calls.CompareFiles(from, to)) {
    case FileIdentity::same:
        return true;
    case FileIdentity::different:
        return false;
    case FileIdentity::unknown:
        break;
    }
    return SameName(calls.FullPath(from), calls.FullPath(to), codePage) ||
           SameName(ShortFullPath(calls, from), ShortFullPath(calls, to), codePage);
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

// How the system refuses a name that a file or folder has.
bool MayBeTaken(unsigned long failure) {
    return failure == kFileExists || failure == kAlreadyExists || failure == kAccessDenied;
}

// Gives the new print a part's name beside the target with `make`, which fails on a name that a
// file or folder has: such a name is passed over, since a part that a host ended during a copy
// left behind is no different to the host from a file of the user's.
template <typename MakePart>
unsigned long MakePartBeside(FileCalls& calls, const LeadByteRule& codePage, const std::string& to,
                             std::string& part, MakePart make) {
    std::string stem;
    if (!PartStem(calls, codePage, to, stem)) {
        return kBadPathname;
    }
    for (unsigned number = 0; number < kPartNamesToTry; ++number) {
        part =
            stem + kPartExtensionStart + LowercaseHexDigit(number >> 4) + LowercaseHexDigit(number);
        const unsigned long failure = make(part);
        if (failure == kNoError || !MayBeTaken(failure) || !calls.Exists(part)) {
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
    if (calls.HasRenameWithoutCopy()) {
        return calls.RenameWithoutCopy(part, to, existing);
    }
    const unsigned long deleted = calls.Delete(to);
    if (deleted != kNoError && deleted != kFileNotFound) {
        return deleted;
    }
    return calls.Move(part, to);
}

bool IsGone(unsigned long deleteFailure) {
    return deleteFailure == kNoError || deleteFailure == kFileNotFound ||
           deleteFailure == kPathNotFound;
}

// After Yes the produced file goes before the part takes the target's name: should the two
// paths name one file that the system gives no identity for (a share of the local disk on
// Windows 9x), the part then takes the print's place instead of the print being deleted after
// it. A produced file that stays is known to be another file, or the placement stops here.
MoveResult ReplaceWithPart(FileCalls& calls, const std::string& part, const std::string& from,
                           const std::string& to) {
    const unsigned long deleted = calls.Delete(from);
    if (!IsGone(deleted) && calls.CompareFiles(from, to) != FileIdentity::different) {
        calls.Delete(part);
        return Ended(deleted);
    }
    const unsigned long failure = PutPartInPlace(calls, part, to, ExistingTarget::replace);
    if (failure != kNoError) {
        // Once the produced file is gone, the part holds the only whole copy of the new print.
        if (IsGone(deleted)) {
            return KeptInPart(failure, part);
        }
        calls.Delete(part);
        return Ended(failure);
    }
    // A produced file that is there again after it was deleted is the print that took the
    // target's name: the two paths name one file.
    return deleted == kNoError && calls.Exists(from) ? ProducedFileIsTarget() : Ended(kNoError);
}

// A target that exists and is kept is refused before the copy, which would be wasted: the
// overwrite question follows. The part is renamed only once its data is on the drive, so that
// neither an ended host nor a lost power supply can leave a part under the target's name. Before
// Yes a part that cannot take the target's name is deleted, the produced file being still there;
// after Yes it stays, holding the only whole copy of the new print.
MoveResult CopyThroughPart(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                           const std::string& to, ExistingTarget existing) {
    if (existing == ExistingTarget::keep && calls.Exists(to) && calls.Exists(from)) {
        return Ended(kAlreadyExists);
    }
    std::string part;
    unsigned long failure =
        MakePartBeside(calls, codePage, to, part,
                       [&calls](const std::string& name) { return calls.CreatePart(name); });
    if (failure != kNoError) {
        // Nothing was made: a missing produced file is still reported as such.
        return Ended(calls.Exists(from) ? failure : kFileNotFound);
    }
    failure = calls.FillPart(from);
    if (failure != kNoError) {
        calls.Delete(part);
        return Ended(failure);
    }
    if (existing == ExistingTarget::replace) {
        return ReplaceWithPart(calls, part, from, to);
    }
    failure = PutPartInPlace(calls, part, to, existing);
    if (failure != kNoError) {
        calls.Delete(part);
        return Ended(failure);
    }
    // The print is in place: a produced file that stays is the caller's to remove.
    calls.Delete(from);
    return Ended(kNoError);
}

// Windows 9x within one volume. Its plain move never replaces a file: after Yes the produced
// file first takes a part's name beside the target, so that the earlier print is deleted only
// once the new one is whole beside it; a part that then cannot take the target's name stays.
MoveResult PlainMove(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                     const std::string& to, ExistingTarget existing) {
    if (existing == ExistingTarget::keep) {
        return Ended(calls.Move(from, to));
    }
    std::string part;
    unsigned long failure = MakePartBeside(
        calls, codePage, to, part, [&](const std::string& name) { return calls.Move(from, name); });
    if (failure != kNoError) {
        return Ended(failure);
    }
    failure = PutPartInPlace(calls, part, to, existing);
    return failure == kNoError ? Ended(kNoError) : KeptInPart(failure, part);
}

// Where the system has a rename that refuses to copy (Windows NT), that rename decides, whatever
// the paths' names: two drive letters, or a letter and a share, may name one volume, and one
// drive letter may hold several (a file system mounted in a folder). Its failure across volumes
// costs less than asking for the two volumes' serial numbers (under Wine 0.15 ms against
// 0.9 ms), and Wine makes a drive's serial number of its letter, which would take one volume
// for two. Only ERROR_NOT_SAME_DEVICE means another volume: the system's own MoveFileEx copies
// on that failure alone (its documentation: "if the new file name is on a different volume ...
// and causes the rename operation to fail"; Wine's and ReactOS's kernel32 copy only on
// STATUS_NOT_SAME_DEVICE, ReactOS's on STATUS_NOT_IMPLEMENTED too), so a redirector that
// answered otherwise would fail a plain MoveFile as well; a rename that is not implemented
// copies through a part as well. Windows 9x has no such rename: there paths of one root are one
// plain move, and any other paths go through a part, since a plain move between two volumes copies
// under the target's name.
MoveResult MoveBetweenVolumes(FileCalls& calls, const LeadByteRule& codePage,
                              const std::string& from, const std::string& to,
                              ExistingTarget existing) {
    if (!calls.HasRenameWithoutCopy()) {
        return OnOneRoot(calls, from, to) ? PlainMove(calls, codePage, from, to, existing)
                                          : CopyThroughPart(calls, codePage, from, to, existing);
    }
    const unsigned long renamed = calls.RenameWithoutCopy(from, to, existing);
    return renamed == kNotSameDevice || renamed == kCallNotImplemented
               ? CopyThroughPart(calls, codePage, from, to, existing)
               : Ended(renamed);
}

bool IsDeviceDigit(char c) {
    // The superscript digits of code page 1252, which Windows reads as digits here too.
    return (c >= '1' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

// The name before its first dot, without the spaces before that dot, as Windows reads a device's
// name.
bool IsDeviceBaseName(std::string base) {
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    for (char& c : base) {
        c = Capital(c);
    }
    static const char* const kDevices[] = {"CON",    "PRN",    "AUX",    "NUL",
                                           "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (base == device) {
            return true;
        }
    }
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           IsDeviceDigit(base[3]);
}

} // namespace

// After Yes the target is looked at before anything is changed: it may be the produced file
// itself; a read-only file is never replaced, as it is never deleted (Windows refuses both, but
// Wine's rename replaces it all the same, measured), and neither is a folder, so that the new
// print never leaves the produced file for nothing. Afterwards, a produced file still there may
// be the target: a rename onto the same file succeeds without moving it, and a plain move onto
// it fails as onto any existing file. After a move that worked it is left for the caller to
// discard only when it is known to be another file.
MoveResult MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                         const std::string& to, ExistingTarget existing) {
    if (NamesDevice(to, codePage)) {
        return Ended(kBadPathname);
    }
    if (NamesDevice(from, codePage)) {
        return Ended(kFileNotFound);
    }
    if (existing == ExistingTarget::replace) {
        if (calls.Exists(to) && IsOneFile(calls, codePage, from, to)) {
            return ProducedFileIsTarget();
        }
        if (calls.IsReadOnlyOrFolder(to)) {
            return Ended(kAccessDenied);
        }
    }
    const MoveResult moved = MoveBetweenVolumes(calls, codePage, from, to, existing);
    if (moved.producedFileIsTarget || !calls.Exists(from)) {
        return moved;
    }
    const bool oneFile = moved.failure == kNoError
                             ? calls.CompareFiles(from, to) != FileIdentity::different
                             : IsOneFile(calls, codePage, from, to);
    return oneFile ? ProducedFileIsTarget() : moved;
}

bool NamesDevice(const std::string& path, const LeadByteRule& codePage) {
    std::size_t nameStart = 0;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t end = CharacterEnd(path, at, codePage);
        if (end - at == 1 && (path[at] == '\\' || path[at] == '/' || path[at] == ':')) {
            nameStart = end;
        }
        at = end;
    }
    const std::size_t baseEnd = path.find('.', nameStart);
    return IsDeviceBaseName(path.substr(
        nameStart, baseEnd == std::string::npos ? std::string::npos : baseEnd - nameStart));
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
