#include "FileMove.h"

#include "PathForms.h"
#include "SystemErrorCodes.h"
#include "VelloraNames.h"

#include <utility>

namespace {

using namespace syserror;

MoveResult Ended(unsigned long failure) {
    MoveResult result;
    result.failure = failure;
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

bool IsStillThere(FileCalls& calls, const ProducedFile& produced) {
    return produced.IsStillThere(calls);
}

// A whole part is deleted only while the produced file is still there to be placed or discarded:
// otherwise it holds the only whole copy of the new print, and stays.
MoveResult GiveUpPart(FileCalls& calls, const ProducedFile& produced, const std::string& part,
                      unsigned long failure) {
    if (!IsStillThere(calls, produced)) {
        return KeptInPart(failure, part);
    }
    calls.Delete(part);
    return Ended(failure);
}

// The part takes the target's name in a rename within the target's folder. On Windows NT that
// rename replaces the earlier print; Windows 9x has none that does, so there the earlier print is
// deleted only now that the new one is whole beside it, which `earlierDeleted` then tells.
unsigned long PutPartInPlace(FileCalls& calls, const std::string& part, const std::string& to,
                             ExistingTarget existing, bool& earlierDeleted) {
    earlierDeleted = false;
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
    earlierDeleted = deleted == kSuccess;
    return calls.Move(part, to);
}

bool IsGone(unsigned long deleteFailure) {
    return deleteFailure == kSuccess || deleteFailure == kFileNotFound ||
           deleteFailure == kPathNotFound;
}

// A copy takes its time, and meanwhile another program may put its own file at the target's
// name; a target that is gone holds nothing that a Yes could cost.
bool IsAnotherFileThan(const FileStamp& now, const FileStamp& answeredFor) {
    return now.known && now.found && now != answeredFor;
}

MoveResult GiveUpForAnotherTarget(FileCalls& calls, const ProducedFile& produced,
                                  const std::string& part) {
    MoveResult result = GiveUpPart(calls, produced, part, kAlreadyExists);
    result.askAgain = result.keptAs.empty();
    return result;
}

// After Yes the produced file goes before the part takes the target's name: should the two
// paths name one file that no test could tell, the part then takes the print's place instead of
// the print being deleted after it. A produced file that stays is known to be another file, or
// the placement stops here. Once the produced file or the earlier print is gone, the part holds
// what a Yes must not cost: it stays, whatever fails.
MoveResult ReplaceWithPart(FileCalls& calls, const std::string& part, const ProducedFile& produced,
                           const std::string& to, const FileStamp& answeredFor) {
    const std::string& from = produced.Path();
    if (IsAnotherFileThan(calls.Stamp(to), answeredFor)) {
        return GiveUpForAnotherTarget(calls, produced, part);
    }
    const unsigned long deleted = calls.Delete(from);
    if (!IsGone(deleted) && calls.CompareFiles(from, to) != FileIdentity::different) {
        return GiveUpPart(calls, produced, part, deleted);
    }
    // A produced file that refused to go is known to be another file than the target: once the
    // part has the target's name, the caller tries again to discard it.
    bool earlierDeleted = false;
    const unsigned long failure =
        PutPartInPlace(calls, part, to, ExistingTarget::replace, earlierDeleted);
    if (failure != kSuccess) {
        return IsGone(deleted) || earlierDeleted ? KeptInPart(failure, part)
                                                 : GiveUpPart(calls, produced, part, failure);
    }
    MoveResult placed = Ended(kSuccess);
    placed.leftBehind = !IsGone(deleted);
    return placed;
}

// A target that exists and is kept is refused before the copy, which would be wasted: the
// overwrite question follows. The part is renamed only once its data is on the drive, so that
// neither an ended host nor a lost power supply can leave a part under the target's name. Before
// Yes a part that cannot take the target's name is deleted while the produced file is still
// there; after Yes it stays, holding the only whole copy of the new print. The produced file that
// stays behind is the caller's to discard.
MoveResult CopyThroughPart(FileCalls& calls, const LeadByteRule& codePage,
                           const ProducedFile& produced, const std::string& to,
                           ExistingTarget existing, const FileStamp& answeredFor) {
    const std::string& from = produced.Path();
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
    // Should another file have the produced file's name after the copy (one that differs only
    // in case, on a file system that tells case), it may be what was copied. A produced file
    // that is simply gone went after the copy, which then holds the only whole print.
    const FileStamp afterCopy = calls.Stamp(from);
    if (afterCopy.known && afterCopy.found && afterCopy != produced.Made()) {
        calls.Delete(part);
        return Ended(kFileNotFound);
    }
    if (!afterCopy.known) {
        return KeptInPart(kFileNotFound, part);
    }
    if (existing == ExistingTarget::replace) {
        return ReplaceWithPart(calls, part, produced, to, answeredFor);
    }
    bool earlierDeleted = false;
    failure = PutPartInPlace(calls, part, to, existing, earlierDeleted);
    if (failure != kSuccess) {
        return GiveUpPart(calls, produced, part, failure);
    }
    MoveResult placed = Ended(kSuccess);
    placed.leftBehind = IsStillThere(calls, produced);
    return placed;
}

// Where the system has a rename that refuses to copy (Windows NT), that rename decides, whatever
// the paths' names: two drive letters, or a letter and a share, may name one file system, and one
// drive letter may hold several (a file system mounted or linked in a folder). Only
// ERROR_NOT_SAME_DEVICE means another file system: the system's own MoveFileEx copies on that
// failure alone (its documentation: "if the new file name is on a different volume ... and
// causes the rename operation to fail"), so a redirector that answered otherwise would fail a
// plain MoveFile as well; a rename that is not implemented copies through a part as well.
MoveResult RenameOrCopy(FileCalls& calls, const LeadByteRule& codePage,
                        const ProducedFile& produced, const std::string& to,
                        ExistingTarget existing, const FileStamp& answeredFor) {
    const unsigned long renamed = calls.RenameWithoutCopy(produced.Path(), to, existing);
    return renamed == kNotSameDevice || renamed == kCallNotImplemented
               ? CopyThroughPart(calls, codePage, produced, to, existing, answeredFor)
               : Ended(renamed);
}

// A move onto the produced file itself fails as onto any existing file: it is then the print at
// the target's name. After a rename that worked, whatever has the produced file's name is another
// file (the produced file moved) or the target itself: neither is the move's to discard.
MoveResult AfterwardsAtProducedPath(FileCalls& calls, const ProducedFile& produced,
                                    const std::string& to, const MoveResult& moved) {
    if (moved.failure == kSuccess || !moved.keptAs.empty() || !calls.Exists(produced.Path()) ||
        !IsStillThere(calls, produced)) {
        return moved;
    }
    return calls.CompareFiles(produced.Path(), to) == FileIdentity::same ? Ended(kSuccess) : moved;
}

} // namespace

ProducedFile::ProducedFile(std::string producedPath, const LeadByteRule& codePage, FileCalls& calls)
    : path(std::move(producedPath)) {
    if (NamesPlainFile(path, codePage)) {
        made = calls.Stamp(path);
    } else {
        made.known = true;
    }
}

// After Yes the target is looked at before anything is changed: it may be the produced file
// itself; a read-only file is never replaced, as it is never deleted (Windows refuses both, but
// Wine's rename replaces it all the same, measured), and neither is a folder, so that the new
// print never leaves the produced file for nothing.
MoveResult MoveFileWhole(FileCalls& calls, const LeadByteRule& codePage,
                         const ProducedFile& produced, const std::string& to,
                         ExistingTarget existing, const FileStamp& answeredFor) {
    const std::string& from = produced.Path();
    if (!NamesPlainFile(to, codePage)) {
        return Ended(kBadPathname);
    }
    if (!NamesPlainFile(from, codePage)) {
        return Ended(kFileNotFound);
    }
    if (existing == ExistingTarget::replace) {
        if (calls.Exists(to) && calls.CompareFiles(from, to) == FileIdentity::same) {
            return Ended(kSuccess);
        }
        if (calls.IsReadOnlyOrFolder(to)) {
            return Ended(kAccessDenied);
        }
        // Nothing but the produced file moves once a Yes is given.
        if (!IsStillThere(calls, produced)) {
            return Ended(kFileNotFound);
        }
    }
    const MoveResult moved =
        calls.HasRenameWithoutCopy()
            ? RenameOrCopy(calls, codePage, produced, to, existing, answeredFor)
            : CopyThroughPart(calls, codePage, produced, to, existing, answeredFor);
    return AfterwardsAtProducedPath(calls, produced, to, moved);
}
