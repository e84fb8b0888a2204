// Moving a produced file to its target, the overwrite question and the save-file dialog. The
// dialog and the boxes run nested message loops, so other requests may change `outputRoot`,
// `nameSuffix` and `targetPath` while they wait: nothing here holds on to those strings across
// a dialog or a box.
#include "HostWindow.h"

#include "DialogPath.h"
#include "FileErrorCause.h"
#include "HostTexts.h"
#include "PathBuffer.h"
#include "PathForms.h"
#include "SystemErrorCodes.h"
#include "VelloraNames.h"

PlacementOutcome HostWindow::PlaceOutputFile(std::string producedPath, std::string target) {
    return PlaceProduced(ProducedFile(producedPath, platform, platform.Files()), target);
}

// The target is the placement's own copy: a request that runs while a question waits may change
// `targetPath`, which this placement is not about.
PlacementOutcome HostWindow::PlaceProduced(const ProducedFile& produced, std::string target) {
    return Place(produced, target, ExistingTarget::keep, FileStamp());
}

PlacementOutcome HostWindow::Place(const ProducedFile& produced, const std::string& target,
                                   ExistingTarget existing, const FileStamp& answeredFor) {
    const MoveResult moved = MoveWithinPathLimit(produced, target, existing, answeredFor);
    const int cause = FileErrorCause(moved.failure);
    if (moved.askAgain) {
        return AskBeforeOverwrite(produced, target);
    }
    if (!moved.keptAs.empty()) {
        // The produced file is gone: a question about it would be answered in vain.
        platform.ShowMessageBox(PrintKeptText(cause, moved.keptAs), kBoxStyleOk);
        return PlacementOutcome::notPlaced;
    }
    if (cause == filecause::kNone) {
        return moved.leftBehind ? PlacementOutcome::placedLeavingCopy : PlacementOutcome::placed;
    }
    if (cause == filecause::kBadPath || cause == filecause::kAccessDenied) {
        return AskBeforeOverwrite(produced, target);
    }
    platform.ShowMessageBox(RenameErrorText(cause), kBoxStyleOk);
    return PlacementOutcome::notPlaced;
}

// A path beyond the platform's limit is refused the way the platform refuses one: as a bad
// path. That brings the overwrite question, whose No lets the user choose a shorter name.
MoveResult HostWindow::MoveWithinPathLimit(const ProducedFile& produced, const std::string& target,
                                           ExistingTarget existing, const FileStamp& answeredFor) {
    if (!FitsPathBuffer(produced.Path()) || !FitsPathBuffer(target)) {
        MoveResult refused;
        refused.failure = syserror::kBadPathname;
        return refused;
    }
    return MoveFileWhole(platform.Files(), platform, produced, target, existing, answeredFor);
}

// A Yes is for the file that had the target's name while the question was shown: should another
// one have taken the name meanwhile (another print that the host placed while this question
// waited, or another program's file), the question is asked again about the file there now.
PlacementOutcome HostWindow::AskBeforeOverwrite(const ProducedFile& produced,
                                                const std::string& target) {
    for (;;) {
        const FileStamp askedAbout = StampOf(target);
        switch (
            platform.ShowMessageBox(OverwriteQuestionText(target), kBoxStyleOverwriteQuestion)) {
        case kButtonYes:
            if (StampOf(target) != askedAbout) {
                continue;
            }
            return ReplaceTarget(produced, target, askedAbout);
        case kButtonNo:
            return PlaceUnderNewRoot(produced);
        case kButtonCancel:
            return PlacementOutcome::cancelled;
        default:
            return PlacementOutcome::notPlaced;
        }
    }
}

// Yes replaces the earlier file only once the new print can take its place, so that a move that
// fails after the Yes leaves the earlier print whole; whatever that move meets, the user has not
// cancelled.
PlacementOutcome HostWindow::ReplaceTarget(const ProducedFile& produced, const std::string& target,
                                           const FileStamp& answeredFor) {
    const PlacementOutcome replaced = Place(produced, target, ExistingTarget::replace, answeredFor);
    return replaced == PlacementOutcome::cancelled ? PlacementOutcome::notPlaced : replaced;
}

// While the user was asked, another program may have deleted the produced file and another
// file may have its name: a file that another program put there, or on a file system that tells
// case, a file whose name differs only in case, which Windows then finds in its place.
bool HostWindow::IsStillThere(const ProducedFile& produced) {
    return produced.IsStillThere(platform.Files());
}

PlacementOutcome HostWindow::ProducedFileGone() {
    platform.ShowMessageBox(RenameErrorText(filecause::kFileNotFound), kBoxStyleOk);
    return PlacementOutcome::notPlaced;
}

// A path that names no plain file is never looked at: its stamp is that of nothing there.
FileStamp HostWindow::StampOf(const std::string& path) {
    if (!NamesPlainFile(path, platform) || !FitsPathBuffer(path)) {
        FileStamp nothing;
        nothing.known = true;
        return nothing;
    }
    return platform.Files().Stamp(path);
}

PlacementOutcome HostWindow::PlaceUnderNewRoot(const ProducedFile& produced) {
    if (PromptForOutputRoot(nameSuffix.size() + vellora::kOutputExtensionLength) ==
        Choice::cancelled) {
        return PlacementOutcome::cancelled;
    }
    targetPath = outputRoot + nameSuffix + vellora::kOutputExtension;
    return IsStillThere(produced) ? PlaceProduced(produced, targetPath) : ProducedFileGone();
}

Choice HostWindow::PromptForOutputRoot(std::size_t appendedLength) {
    std::string path = outputRoot;
    if (ShowSaveDialog(path, appendedLength) == Choice::cancelled) {
        return Choice::cancelled;
    }
    outputRoot = path;
    return Choice::chosen;
}

// A chosen path that the platform could not take, with what the host will add to it, is never
// cut short: the user is told and chooses again.
Choice HostWindow::ShowSaveDialog(std::string& path, std::size_t appendedLength) {
    const DialogPath opened = SplitPathForDialog(path, platform);
    for (;;) {
        std::string chosen;
        switch (platform.AskForSaveFileName(opened.folder, opened.fileName, chosen)) {
        case SaveDialogAnswer::cancelled:
            return Choice::cancelled;
        case SaveDialogAnswer::chosen:
            if (FitsPathBuffer(chosen, appendedLength)) {
                path = chosen;
                return Choice::chosen;
            }
            break;
        case SaveDialogAnswer::nameTooLong:
            break;
        }
        platform.ShowMessageBox(kChosenNameTooLongText, kBoxStyleOk);
    }
}
