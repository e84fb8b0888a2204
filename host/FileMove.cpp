#include "FileMove.h"

#include "PathForms.h"
#include "SystemErrorCodes.h"
#include "VelloraNames.h"

namespace {

using namespace syserror;

MoveResult Ended(unsigned long failure) {
    MoveResult result;
    result.failure = failure;
    return result;
}

MoveResult PlacedLeavingProducedFile() {
    MoveResult result;
    result.leaveProducedFile = true;
    return result;
}

MoveResult KeptInPart(unsigned long failure, const std::string& part) {
    MoveResult result = Ended(failure);
    result.keptAs = part;
    return result;
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

// How the system refuses a name that a file or folder has.
bool MayBeTaken(unsigned long failure) {
    return failure == kFileExists || failure == kAlreadyExists || failure == kAccessDenied;
}

// Makes a new part beside the target. A name that a file or folder has is passed over, since a
// part that a host ended during a copy left behind is no different to the host from a file of
// the user's.
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
        if (failure == kSuccess || !MayBeTaken(failure) || !calls.Exists(part)) {
            return failure;
        }
    }
    return kCannotMake;
}

// The part takes the target's name in a rename within the target's folder. On Windows NT that
// rename replaces the earlier print; Windows 9x has none that does, so there the earlier print is
// deleted only now that the new one is whole beside it.
unsigned long PutPartInPlace(FileCalls& calls, const std::string& part, const std::string& to,
                             ExistingTarget existing) {
    if (existing == ExistingTarget::keep) {
        return calls.Move(part, to);
    }
    if (calls.HasRenameWithoutCopy()) {
        return calls.RenameWithoutCopy(part, to, existing);
    }
    const unsigned long deleted = calls.Delete(to);
    if (deleted != kSuccess && deleted != kFileNotFound) {
        return deleted;
    }
    return calls.Move(part, to);
}

bool IsGone(unsigned long deleteFailure) {
    return deleteFailure == kSuccess || deleteFailure == kFileNotFound ||
           deleteFailure == kPathNotFound;
}

// After Yes the produced file goes before the part takes the target's name: should the two
// paths name one file that no test could tell, the part then takes the print's place instead of
// the print being deleted after it. A produced file that stays is known to be another file, or
// the placement stops here.
MoveResult ReplaceWithPart(FileCalls& calls, const std::string& part, const std::string& from,
                           const std::string& to) {
    const unsigned long deleted = calls.Delete(from);
    if (!IsGone(deleted) && calls.CompareFiles(from, to) != FileIdentity::different) {
        calls.Delete(part);
        return Ended(deleted);
    }
    const unsigned long failure = PutPartInPlace(calls, part, to, ExistingTarget::replace);
    if (failure != kSuccess) {
        // Once the produced file is gone, the part holds the only whole copy of the new print.
        if (IsGone(deleted)) {
            return KeptInPart(failure, part);
        }
        calls.Delete(part);
        return Ended(failure);
    }
    // A produced file still there after its deletion worked is on its way out (another program
    // holds it, sharing its deletion) or is the print at the target's name: either way it stays.
    return deleted == kSuccess && calls.Exists(from) ? PlacedLeavingProducedFile()
                                                     : Ended(kSuccess);
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
    unsigned long failure = CreatePartBeside(calls, codePage, to, part);
    if (failure != kSuccess) {
        // Nothing was made: a missing produced file is still reported as such.
        return Ended(calls.Exists(from) ? failure : kFileNotFound);
    }
    failure = calls.FillPart(from);
    if (failure != kSuccess) {
        calls.Delete(part);
        return Ended(failure);
    }
    if (existing == ExistingTarget::replace) {
        return ReplaceWithPart(calls, part, from, to);
    }
    failure = PutPartInPlace(calls, part, to, existing);
    if (failure != kSuccess) {
        calls.Delete(part);
        return Ended(failure);
    }
    // The print is in place: a produced file that stays is the caller's to remove.
    calls.Delete(from);
    return Ended(kSuccess);
}

// Where the system has a rename that refuses to copy (Windows NT), that rename decides, whatever
// the paths' names: two drive letters, or a letter and a share, may name one file system, and one
// drive letter may hold several (a file system mounted or linked in a folder). Only
// ERROR_NOT_SAME_DEVICE means another file system: the system's own MoveFileEx copies on that
// failure alone (its documentation: "if the new file name is on a different volume ... and
// causes the rename operation to fail"), so a redirector that answered otherwise would fail a
// plain MoveFile as well; a rename that is not implemented copies through a part as well.
MoveResult RenameOrCopy(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                        const std::string& to, ExistingTarget existing) {
    const unsigned long renamed = calls.RenameWithoutCopy(from, to, existing);
    return renamed == kNotSameDevice || renamed == kCallNotImplemented
               ? CopyThroughPart(calls, codePage, from, to, existing)
               : Ended(renamed);
}

// A produced file that is still there after the move may be the target: a rename onto the same
// file succeeds without moving it, and a move onto it fails as onto any existing file. After a
// move that worked it is left for the caller to discard only when it is known to be another file.
MoveResult AfterwardsAtProducedPath(FileCalls& calls, const std::string& from,
                                    const std::string& to, MoveResult moved) {
    if (moved.leaveProducedFile || !calls.Exists(from)) {
        return moved;
    }
    const FileIdentity identity = calls.CompareFiles(from, to);
    const bool mayBePlaced = moved.failure == kSuccess ? identity != FileIdentity::different
                                                       : identity == FileIdentity::same;
    return mayBePlaced ? PlacedLeavingProducedFile() : moved;
}

} // namespace

// After Yes the target is looked at before anything is changed: it may be the produced file
// itself; a read-only file is never replaced, as it is never deleted (Windows refuses both, but
// Wine's rename replaces it all the same, measured), and neither is a folder, so that the new
// print never leaves the produced file for nothing.
MoveResult MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage, const std::string& from,
                         const std::string& to, ExistingTarget existing) {
    if (!NamesPlainFile(to, codePage)) {
        return Ended(kBadPathname);
    }
    if (!NamesPlainFile(from, codePage)) {
        return Ended(kFileNotFound);
    }
    if (existing == ExistingTarget::replace) {
        if (calls.Exists(to) && calls.CompareFiles(from, to) == FileIdentity::same) {
            return PlacedLeavingProducedFile();
        }
        if (calls.IsReadOnlyOrFolder(to)) {
            return Ended(kAccessDenied);
        }
    }
    const MoveResult moved = calls.HasRenameWithoutCopy()
                                 ? RenameOrCopy(calls, codePage, from, to, existing)
                                 : CopyThroughPart(calls, codePage, from, to, existing);
    return AfterwardsAtProducedPath(calls, from, to, moved);
}
