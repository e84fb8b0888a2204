// A stand-in for the host's platform calls: the model file system with the drives c:, d: and e:
// of Windows NT, atoms, and the user's answers to dialogs and boxes given in advance. Each answer
// may run requests of its own while its dialog or box is open, as the platform's nested message
// loops allow.
#pragma once

#include "CodePages.h"
#include "FileErrorCause.h"
#include "HostPlatform.h"
#include "ModelFileSystem.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FakeHostPlatform final : HostPlatform {
    struct Box {
        std::string text;
        unsigned style;
    };
    struct BoxAnswer {
        int button;
        std::function<void()> meanwhile;
    };
    struct DialogCall {
        std::string folder;
        std::string fileName;
    };
    struct DialogAnswer {
        SaveDialogAnswer answer;
        std::string chosenPath;
        std::function<void()> meanwhile;
    };

    FakeHostPlatform() {
        const char* const drives[] = {"c:\\", "d:\\", "e:\\"};
        for (int volume = 0; volume < 3; ++volume) {
            files.AddRoot(drives[volume], volume);
        }
        files.AddFolder("c:\\WINDOWS");
    }

    std::map<std::uint16_t, std::string> atoms;
    std::vector<std::uint16_t> atomsRead;
    std::vector<std::uint16_t> atomsDeleted;

    // Reads its paths in this platform's code page, which a test may change.
    ModelFileSystem files{ModelSystem::windowsNt, *this};

    std::deque<DialogAnswer> dialogAnswers;
    std::vector<DialogCall> dialogs;
    std::deque<BoxAnswer> boxAnswers;
    std::vector<Box> boxes;

    bool driverDirectoryKnown = true;
    std::string driverDirectory = "C:\\WINDOWS\\SYSTEM\\SPOOL\\DRIVERS\\W32X86";
    std::vector<std::string> programsRun;
    std::function<void()> whileProgramRuns;
    std::vector<int> exitCodes;
    const LeadByteRule* codePage = &kSingleByte;

    std::string ReadAtomName(std::uint16_t atom) override {
        atomsRead.push_back(atom);
        const auto found = atoms.find(atom);
        return found == atoms.end() ? std::string() : found->second;
    }
    void DeleteAtom(std::uint16_t atom) override {
        atomsDeleted.push_back(atom);
        atoms.erase(atom);
    }

    FileCalls& Files() override { return files; }

    // A folder with the folders it is in.
    void AddFolders(const std::string& path) {
        for (std::size_t at = 3; at < path.size(); at = CharacterEnd(path, at, *this)) {
            if (path[at] == '\\' && CharacterEnd(path, at, *this) == at + 1) {
                AddFolderIfMissing(path.substr(0, at));
            }
        }
        AddFolderIfMissing(path);
    }
    void AddFolderIfMissing(const std::string& path) {
        if (files.Find(path) == nullptr) {
            files.AddFolder(path);
        }
    }
    // A file with its folders, as the driver or the user made it.
    void AddFile(const std::string& path, const std::string& content = "print") {
        AddFolders(path.substr(0, FindLastCharacter(path, '\\', *this)));
        files.AddFile(path, content);
    }
    std::set<std::string> FilePaths() const {
        std::set<std::string> paths;
        for (const auto& [path, content] : files.Files()) {
            paths.insert(path);
        }
        return paths;
    }
    // The next rename fails with the system error of this cause.
    void FailNextRename(int cause) {
        files.failNext.insert({"RenameWithoutCopy", SystemErrorOf(cause)});
    }

    // A system error code of the cause.
    static unsigned long SystemErrorOf(int cause) {
        static const unsigned long kCodes[] = {0,  9999, 2,  3,  4,  5,   6, 16,
                                               82, 25,   31, 32, 33, 112, 38};
        return kCodes[cause];
    }

    SaveDialogAnswer AskForSaveFileName(const std::string& folder, const std::string& fileName,
                                        std::string& chosenPath) override {
        dialogs.push_back({folder, fileName});
        if (dialogAnswers.empty()) {
            return SaveDialogAnswer::cancelled;
        }
        DialogAnswer answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (answer.meanwhile) {
            answer.meanwhile();
        }
        chosenPath = answer.chosenPath;
        return answer.answer;
    }
    int ShowMessageBox(const std::string& text, unsigned style) override {
        boxes.push_back({text, style});
        if (boxAnswers.empty()) {
            return kButtonOk;
        }
        BoxAnswer answer = boxAnswers.front();
        boxAnswers.pop_front();
        if (answer.meanwhile) {
            answer.meanwhile();
        }
        return answer.button;
    }

    bool PrinterDriverDirectory(std::string& directory) override {
        directory = driverDirectory;
        return driverDirectoryKnown;
    }
    void RunProgramAndWait(const std::string& programPath) override {
        programsRun.push_back(programPath);
        if (whileProgramRuns) {
            whileProgramRuns();
        }
    }
    void EndProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    bool IsLeadByte(unsigned char byte) const override { return codePage->IsLeadByte(byte); }

    // Answers the user gives, in order.
    // The dialog lets only a name in an existing folder be chosen.
    void Choose(const std::string& path, std::function<void()> meanwhile = {}) {
        if (path.size() < 260) {
            AddFolders(path.substr(0, FindLastCharacter(path, '\\', *this)));
        }
        dialogAnswers.push_back({SaveDialogAnswer::chosen, path, std::move(meanwhile)});
    }
    void CancelDialog(std::function<void()> meanwhile = {}) {
        dialogAnswers.push_back({SaveDialogAnswer::cancelled, "", std::move(meanwhile)});
    }
    void TypeNameTooLongForDialog() {
        dialogAnswers.push_back({SaveDialogAnswer::nameTooLong, "", {}});
    }
    void Press(int button, std::function<void()> meanwhile = {}) {
        boxAnswers.push_back({button, std::move(meanwhile)});
    }
};
