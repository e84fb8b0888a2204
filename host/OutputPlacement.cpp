// Moving a produced file to its target, the overwrite question and the save-file dialog. The
// dialog and the boxes run nested message loops, so other requests may change `outputRoot`,
// `nameSuffix` and `targetPath` while they wait: nothing here holds on to those strings across
// a dialog or a box.
#include "HostWindow.h"

#include "DialogPath.h"
#include "FileErrorCause.h"
#include "HostTexts.h"
#include "PathBuffer.h"
#include "VelloraNames.h"

PlacementOutcome HostWindow::PlaceOutputFile(std::string producedPath, std::string target) {
    return Place(producedPath, target, ExistingTarget::keep);
}

PlacementOutcome HostWindow::Place(const std::string& producedPath, const std::string& target,
                                   ExistingTarget existing) {
    const MoveResult moved = MoveWithinPathLimit(producedPath, target, existing);
    if (moved.producedFileIsTarget) {
        return PlacementOutcome::producedFileIsTarget;
    }
    const int cause = FileErrorCause(moved.failure);
    if (!moved.keptAs.empty()) {
        // The produced file is gone: a question about it would be answered in vain.
        platform.ShowMessageBox(PrintKeptText(cause, moved.keptAs), kBoxStyleOk);
        return PlacementOutcome::finished;
    }
    if (cause == filecause::kNone) {
        return PlacementOutcome::finished;
    }
    if (cause == filecause::kBadPath || cause == filecause::kAccessDenied) {
        return AskBeforeOverwrite(producedPath, target);
    }
    platform.ShowMessageBox(RenameErrorText(cause), kBoxStyleOk);
    return PlacementOutcome::finished;
}

// A path beyond the platform's limit is refused the way the platform refuses one: as a bad
// path. That brings the overwrite question, whose No lets the user choose a shorter name.
MoveResult HostWindow::MoveWithinPathLimit(const std::string& producedPath,
                                           const std::string& target, ExistingTarget existing) {
    constexpr unsigned long kBadPathname = 161; // ERROR_BAD_PATHNAME
    if (!FitsPathBuffer(producedPath) || !FitsPathBuffer(target)) {
        MoveResult refused;
        refused.failure = kBadPathname;
        return refused;
    }
    return MoveFileWhole(platform.Files(), platform, producedPath, target, existing);
}

// Yes replaces the earlier file only once the new print can take its place, so that a move that
// fails after the Yes leaves the earlier print whole; whatever that move meets, the user has not
// cancelled.
PlacementOutcome HostWindow::AskBeforeOverwrite(const std::string& producedPath,
                                                const std::string& target) {
    switch (platform.ShowMessageBox(OverwriteQuestionText(target), kBoxStyleOverwriteQuestion)) {
    case kButtonYes:
        return Place(producedPath, target, ExistingTarget::replace) ==
                       PlacementOutcome::producedFileIsTarget
                   ? PlacementOutcome::producedFileIsTarget
                   : PlacementOutcome::finished;
    case kButtonNo:
        return PlaceUnderNewRoot(producedPath);
    case kButtonCancel:
        return PlacementOutcome::cancelled;
    default:
        return PlacementOutcome::finished;
    }
}

PlacementOutcome HostWindow::PlaceUnderNewRoot(const std::string& producedPath) {
    if (PromptForOutputRoot(nameSuffix.size() + vellora::kOutputExtensionLength) ==
        Choice::cancelled) {
        return PlacementOutcome::cancelled;
    }
    targetPath = outputRoot + nameSuffix + vellora::kOutputExtension;
    return PlaceOutputFile(producedPath, targetPath);
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
