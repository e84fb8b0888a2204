// The driver's requests: texts arrive in global atoms, results go back to the sender.
#include "HostWindow.h"

#include "FileErrorCause.h"
#include "HostTexts.h"
#include "OutputRoot.h"
#include "PathBuffer.h"
#include "PathForms.h"
#include "VelloraNames.h"

namespace {

// A string atom is numbered from 0xC000 on; a lower number is an integer atom, whose "name" is
// its number ("#5"), and a wParam beyond 0xFFFF names no atom at all: no other atom whose number
// shares its low bits may be read or released in its place.
bool NamesStringAtom(std::uintptr_t wParam) {
    return wParam >= 0xC000 && wParam <= 0xFFFF;
}

// What the driver receives: 1 when the user cancelled, 0 for every other outcome.
std::int32_t CancelledAsOne(bool cancelled) {
    return cancelled ? 1 : 0;
}

} // namespace

std::int32_t HostWindow::HandleHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) {
    switch (message) {
    case vellora::HM_SET_NAME_SUFFIX:
        return OnSetNameSuffix(wParam);
    case vellora::HM_PLACE_OUTPUT:
        return OnPlaceOutput(wParam);
    case vellora::HM_EXIT:
        return OnExit();
    case vellora::HM_PROMPT_OUTPUT_ROOT:
        return CancelledAsOne(PromptForOutputRoot(vellora::kOutputExtensionLength) ==
                              Choice::cancelled);
    case vellora::HM_SET_OUTPUT_ROOT:
        return OnSetOutputRoot(wParam);
    case vellora::HM_OPEN_PROPERTIES:
        return OnOpenProperties();
    default:
        return 0;
    }
}

std::int32_t HostWindow::OnSetNameSuffix(std::uintptr_t wParam) {
    nameSuffix = TakeAtomText(wParam);
    if (nameSuffix == vellora::kEmptySuffixMarker) {
        nameSuffix.clear();
    }
    targetPath = outputRoot + nameSuffix;
    return 0;
}

// The produced file's atom stays the sender's, who releases it once this call has returned.
std::int32_t HostWindow::OnPlaceOutput(std::uintptr_t wParam) {
    const std::string atomText = ReadUncutAtomText(wParam);
    targetPath += vellora::kOutputExtension;
    return static_cast<std::int32_t>(PlaceProducedFile(atomText));
}

// A produced path that is no full path, an atom that could not be read included, would be taken
// in whatever folder is current, and one that names no plain file is a device or worse, as is a
// folder: no file is moved or deleted, and the user hears what a missing produced file brings.
// Otherwise the produced file is discarded where the placement left it behind, was cancelled or
// failed, and only while it is still the file that the driver made there.
PrintResult HostWindow::PlaceProducedFile(const std::string& atomText) {
    const std::string producedPath = atomText + vellora::kOutputExtension;
    if (!IsFullPath(atomText, platform) || !NamesPlainFile(producedPath, platform)) {
        return RefuseProducedPath();
    }
    const ProducedFile produced(producedPath, platform, platform.Files());
    if (produced.Made().IsFolder()) {
        return RefuseProducedPath();
    }
    switch (PlaceProduced(produced, targetPath)) {
    case PlacementOutcome::placed:
        return PrintResult::placedOrNone;
    case PlacementOutcome::placedLeavingCopy:
        DiscardProducedFile(produced);
        return PrintResult::placedOrNone;
    case PlacementOutcome::notPlaced:
        return DiscardProducedFile(produced) ? PrintResult::discardedOrCancelled
                                             : PrintResult::placedOrNone;
    case PlacementOutcome::cancelled:
        DiscardProducedFile(produced);
        return PrintResult::discardedOrCancelled;
    }
    return PrintResult::placedOrNone;
}

PrintResult HostWindow::RefuseProducedPath() {
    platform.ShowMessageBox(RenameErrorText(filecause::kFileNotFound), kBoxStyleOk);
    return PrintResult::placedOrNone;
}

// Only the file that the driver made is discarded, never another that has its name by now.
bool HostWindow::DiscardProducedFile(const ProducedFile& produced) {
    return produced.Made().found && IsStillThere(produced) &&
           platform.Files().Delete(produced.Path()) == 0;
}

std::int32_t HostWindow::OnExit() {
    platform.EndProcess(0);
    return 0;
}

std::int32_t HostWindow::OnSetOutputRoot(std::uintptr_t wParam) {
    outputRoot = TakeAtomText(wParam);
    if (ValidateOutputRoot(outputRoot, platform)) {
        return 0;
    }
    return CancelledAsOne(PromptForOutputRoot(vellora::kOutputExtensionLength) ==
                          Choice::cancelled);
}

// While the program runs, the host's thread waits in it and handles no message; the flag keeps
// a second copy from being started should a request ever reach the host during that wait.
// Nothing is started from a path that had to be cut to fit.
std::int32_t HostWindow::OnOpenProperties() {
    if (launchInProgress == 1) {
        return 0;
    }
    std::string programPath;
    if (!GetDriverFilePath(vellora::kPropertiesProgramFile, programPath)) {
        return 0;
    }
    if (!FitsPathBuffer(programPath)) {
        platform.ShowMessageBox(PropertiesPathTooLongText(programPath), kBoxStyleOk);
        return 0;
    }
    launchInProgress = 1;
    platform.RunProgramAndWait(programPath);
    launchInProgress = 0;
    return 0;
}

bool HostWindow::GetDriverFilePath(const char* fileName, std::string& path) {
    std::string directory;
    if (!platform.PrinterDriverDirectory(directory)) {
        return false;
    }
    path = directory + "\\" + fileName;
    return true;
}

std::string HostWindow::ReadAtomText(std::uintptr_t wParam) {
    if (!NamesStringAtom(wParam)) {
        return std::string();
    }
    const auto atom = static_cast<std::uint16_t>(wParam);
    // A character cut in half would take the next byte appended to the text into it.
    return WholeCharactersWithin(platform.ReadAtomName(atom),
                                 static_cast<std::size_t>(vellora::kMaxAtomText), platform);
}

// A produced path cut to fit would name another file, which is never the host's to move: the
// path of an atom that does not fit whole reads as empty.
std::string HostWindow::ReadUncutAtomText(std::uintptr_t wParam) {
    const std::string text = ReadAtomText(wParam);
    if (NamesStringAtom(wParam) &&
        platform.ReadAtomName(static_cast<std::uint16_t>(wParam)).size() != text.size()) {
        return std::string();
    }
    return text;
}

std::string HostWindow::TakeAtomText(std::uintptr_t wParam) {
    std::string text = ReadAtomText(wParam);
    if (NamesStringAtom(wParam)) {
        platform.DeleteAtom(static_cast<std::uint16_t>(wParam));
    }
    return text;
}
