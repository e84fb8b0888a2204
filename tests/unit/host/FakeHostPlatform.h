// A stand-in for the host's platform calls: a small file system of path names on one volume of
// Windows NT, atoms, and the user's answers to dialogs and boxes given in advance. Each answer may
// run requests of its own while its dialog or box is open, as the platform's nested message loops
// allow.
#pragma once

#include "CodePages.h"
#include "FileErrorCause.h"
#include "HostPlatform.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FakeHostPlatform final : HostPlatform, FileCalls {
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

    std::map<std::uint16_t, std::string> atoms;
    std::vector<std::uint16_t> atomsRead;
    std::vector<std::uint16_t> atomsDeleted;

    std::set<std::string> files;
    std::set<std::string> undeletableFiles;
    // Causes that the next renames fail with, whatever the files.
    std::deque<int> forcedRenameCauses;
    std::vector<std::pair<std::string, std::string>> renames;
    std::vector<std::string> removals;

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

    FileCalls& Files() override { return *this; }

    bool HasRenameWithoutCopy() override { return true; }
    // A target that cannot be deleted cannot be replaced either.
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget existing) override {
        renames.emplace_back(from, to);
        if (!forcedRenameCauses.empty()) {
            const int cause = forcedRenameCauses.front();
            forcedRenameCauses.pop_front();
            return SystemErrorOf(cause);
        }
        if (files.count(from) == 0) {
            return 2; // ERROR_FILE_NOT_FOUND
        }
        if (files.count(to) != 0 && existing == ExistingTarget::keep) {
            return 183; // ERROR_ALREADY_EXISTS
        }
        if (files.count(to) != 0 && undeletableFiles.count(to) != 0) {
            return 5; // ERROR_ACCESS_DENIED
        }
        files.erase(from);
        files.insert(to);
        return 0;
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        return RenameWithoutCopy(from, to, ExistingTarget::keep);
    }
    unsigned long CreatePart(const std::string&) override { return 5; }
    unsigned long FillPart(const std::string&) override { return 6; }
    unsigned long Delete(const std::string& path) override {
        removals.push_back(path);
        if (files.count(path) == 0) {
            return 2;
        }
        if (undeletableFiles.count(path) != 0) {
            return 5;
        }
        files.erase(path);
        return 0;
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool IsReadOnlyOrFolder(const std::string&) override { return false; }
    FileIdentity CompareFiles(const std::string& first, const std::string& second) override {
        return files.count(first) != 0 && files.count(second) != 0 && first != second
                   ? FileIdentity::different
                   : FileIdentity::unknown;
    }
    std::string FullPath(const std::string& path) override { return path; }
    std::string ShortPath(const std::string&) override { return std::string(); }

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
    void Choose(const std::string& path, std::function<void()> meanwhile = {}) {
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
