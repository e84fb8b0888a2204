#include "FileMove.h"

#include "CodePages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kPathNotFound = 3;
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kNotSameDevice = 17;
constexpr unsigned long kHandleDiskFull = 39;
constexpr unsigned long kDiskFull = 112;
constexpr unsigned long kCallNotImplemented = 120;
constexpr unsigned long kBadPathname = 161;
constexpr unsigned long kAlreadyExists = 183;
constexpr unsigned long kFilenameTooLong = 206;
constexpr unsigned long kDirectory = 267;

using Files = std::map<std::string, std::string>;

const std::string kProduced = "C:\\Spool\\job1.tif";
const std::string kTarget = "E:\\Out\\Doc.tif";
const std::string kPart = "E:\\Out\\Vel0001.tmp";
const std::string kSameDriveTarget = "C:\\Out\\Doc.tif";

// Files by path with their content, on volumes named by path prefixes. The calls that change
// something are written down in order; a failure given for a call comes back from its next use,
// and a failing copy leaves what it wrote so far, as a copy onto a full drive does.
struct FakeFileCalls final : FileCalls {
    bool windowsNt = true;
    Files files;
    std::set<std::string> undeletable;
    // Path prefixes and the volume each stands for: folders mounted from another volume, and
    // other names of a volume. Any other path's volume is its first 3 characters.
    std::map<std::string, std::string> volumes;
    std::map<std::string, unsigned long> failures;
    std::vector<std::string> steps;
    // The parts made, each of which the copy may write into; no other file is ever written.
    std::set<std::string> parts;

    std::string Volume(const std::string& path) const {
        for (const auto& [prefix, volume] : volumes) {
            if (path.compare(0, prefix.size(), prefix) == 0) {
                return volume;
            }
        }
        return path.substr(0, 3);
    }
    bool Fails(const std::string& call, unsigned long& failure) {
        const auto found = failures.find(call);
        if (found == failures.end()) {
            return false;
        }
        failure = found->second;
        failures.erase(found);
        return true;
    }
    unsigned long Rename(const std::string& from, const std::string& to) {
        if (files.count(from) == 0) {
            return kFileNotFound;
        }
        if (files.count(to) != 0) {
            return kAlreadyExists;
        }
        files[to] = files[from];
        files.erase(from);
        return 0;
    }

    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to) override {
        if (!windowsNt) {
            return kCallNotImplemented;
        }
        steps.push_back("rename without copy " + from + " > " + to);
        unsigned long failure = 0;
        if (Fails("rename without copy", failure)) {
            return failure;
        }
        return Volume(from) == Volume(to) ? Rename(from, to) : kNotSameDevice;
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        steps.push_back("move " + from + " > " + to);
        unsigned long failure = 0;
        return Fails("move", failure) ? failure : Rename(from, to);
    }
    // Names as the system makes them: the first free number, in four hexadecimal digits.
    unsigned long MakePartFile(const std::string& folder, std::string& part) override {
        steps.push_back("make part in " + folder);
        unsigned long failure = 0;
        if (Fails("make part", failure)) {
            return failure;
        }
        for (unsigned number = 1;; ++number) {
            char name[16];
            std::snprintf(name, sizeof(name), "%s%04X.tmp", kPartFilePrefix, number);
            part = folder + name;
            if (files.count(part) == 0) {
                break;
            }
        }
        files[part] = "";
        parts.insert(part);
        return 0;
    }
    unsigned long CopyWrittenThrough(const std::string& from, const std::string& part) override {
        steps.push_back("copy " + from + " > " + part);
        EXPECT_EQ(parts.count(part), 1u) << "written to a file the host did not make: " << part;
        if (files.count(from) == 0) {
            return kFileNotFound;
        }
        unsigned long failure = 0;
        files[part] = Fails("copy", failure) ? "part" : files[from];
        return failure;
    }
    void Delete(const std::string& path) override {
        steps.push_back("delete " + path);
        if (undeletable.count(path) == 0) {
            files.erase(path);
        }
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    // A path of another form is taken in the folder "C:\Cur".
    std::string FullPath(const std::string& path) override {
        if (path.find(":\\") == 1 || path.rfind("\\\\", 0) == 0) {
            return path;
        }
        return "C:\\Cur\\" + path;
    }
};

class FileMove : public ::testing::Test {
  protected:
    void SetUp() override { calls.files = {{kProduced, "print"}}; }
    unsigned long Move(const std::string& to = kTarget) {
        return MoveFileWhole(calls, kSingleByte, kProduced, to);
    }
    // The steps of a move through a part on Windows 9x; on Windows NT, the rename comes first.
    std::vector<std::string> CopyThroughPartSteps() const {
        return {"make part in E:\\Out\\", "copy " + kProduced + " > " + kPart,
                "move " + kPart + " > " + kTarget, "delete " + kProduced};
    }

    FakeFileCalls calls;
};

} // namespace

TEST_F(FileMove, a_move_within_one_volume_is_one_rename) {
    EXPECT_EQ(Move(kSameDriveTarget), 0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"rename without copy " + kProduced + " > " +
                                                    kSameDriveTarget});
    EXPECT_EQ(calls.files, (Files{{kSameDriveTarget, "print"}}));
}

TEST_F(FileMove, on_windows_9x_a_move_within_one_drive_is_one_plain_move) {
    calls.windowsNt = false;
    for (const std::string to : {"c:\\Out\\Doc.tif", "Out\\Doc.tif"}) {
        calls.files = {{kProduced, "print"}};
        calls.steps.clear();
        EXPECT_EQ(Move(to), 0u);
        EXPECT_EQ(calls.steps, std::vector<std::string>{"move " + kProduced + " > " + to});
    }
}

TEST_F(FileMove, a_move_to_another_volume_goes_through_a_part_renamed_once_it_is_whole) {
    EXPECT_EQ(Move(), 0u);
    std::vector<std::string> steps = CopyThroughPartSteps();
    steps.insert(steps.begin(), "rename without copy " + kProduced + " > " + kTarget);
    EXPECT_EQ(calls.steps, steps);
    EXPECT_EQ(calls.files, (Files{{kTarget, "print"}}));

    calls.windowsNt = false;
    calls.files = {{kProduced, "print"}};
    calls.steps.clear();
    EXPECT_EQ(Move(), 0u);
    EXPECT_EQ(calls.steps, CopyThroughPartSteps());
    EXPECT_EQ(calls.files, (Files{{kTarget, "print"}}));
}

// A SUBST drive, a mapped letter beside the share's own name, Wine's Z: beside C:.
TEST_F(FileMove, on_windows_nt_two_names_of_one_volume_are_one_rename) {
    calls.volumes = {
        {"S:\\", "C:\\"}, {"Z:\\", "C:\\"}, {"X:\\", "share"}, {"\\\\srv\\share\\", "share"}};
    const std::pair<std::string, std::string> rows[] = {
        {kProduced, "S:\\Out\\Doc.tif"},
        {kProduced, "Z:\\Out\\Doc.tif"},
        {"X:\\Spool\\job1.tif", "\\\\srv\\share\\Doc.tif"},
        {"\\\\srv\\share\\job1.tif", "X:\\Doc.tif"},
    };
    for (const auto& [from, to] : rows) {
        calls.files = {{from, "print"}};
        calls.steps.clear();
        EXPECT_EQ(MoveFileWhole(calls, kSingleByte, from, to), 0u) << to;
        EXPECT_EQ(calls.steps,
                  std::vector<std::string>{"rename without copy " + from + " > " + to});
        EXPECT_EQ(calls.files, (Files{{to, "print"}}));
    }
}

TEST_F(FileMove, a_folder_mounted_from_another_volume_on_the_same_drive_goes_through_a_part) {
    calls.volumes = {{"E:\\Out\\", "mounted"}};
    const std::string target = "E:\\Out\\Doc.tif";
    calls.files = {{"E:\\Spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, kSingleByte, "E:\\Spool\\job1.tif", target), 0u);
    EXPECT_EQ(calls.steps.size(), 5u);
    EXPECT_EQ(calls.steps[2], "copy E:\\Spool\\job1.tif > " + kPart);
    EXPECT_EQ(calls.files, (Files{{target, "print"}}));
}

// Windows 9x cannot tell two names of one volume apart from two volumes.
TEST_F(FileMove, on_windows_9x_every_move_between_paths_of_two_roots_goes_through_a_part) {
    calls.windowsNt = false;
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Spool\\job1.tif", "E:\\Out\\Doc.tif"},
        {"C:\\Spool\\job1.tif", "S:\\Out\\Doc.tif"},
        {"\\\\srv\\share\\job1.tif", "\\\\srv\\other\\Doc.tif"},
        {"\\\\srv\\share\\job1.tif", "\\\\SRV\\share\\Doc.tif"},
        {"\\\\?\\C:\\Spool\\job1.tif", "\\\\?\\C:\\Out\\Doc.tif"},
    };
    for (const auto& [from, to] : rows) {
        calls.files = {{from, "print"}};
        calls.steps.clear();
        EXPECT_EQ(MoveFileWhole(calls, kSingleByte, from, to), 0u) << from << " " << to;
        EXPECT_EQ(calls.steps.at(0).rfind("make part in ", 0), 0u) << calls.steps.at(0);
        EXPECT_EQ(calls.files, (Files{{to, "print"}}));
    }
}

TEST_F(FileMove, on_windows_9x_paths_on_one_network_share_are_one_plain_move) {
    calls.windowsNt = false;
    calls.files = {{"\\\\srv\\share\\spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, kSingleByte, "\\\\srv\\share\\spool\\job1.tif",
                            "\\\\srv\\share\\Doc.tif"),
              0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"move \\\\srv\\share\\spool\\job1.tif > "
                                                    "\\\\srv\\share\\Doc.tif"});
}

// The folder's last backslash is a character of its own, never a double-byte character's
// second byte; a path of another form is made full first.
TEST_F(FileMove, the_part_is_made_in_the_full_folder_of_the_target) {
    calls.windowsNt = false;
    const struct {
        std::string target;
        const LeadByteRule* codePage;
        std::string folder;
    } rows[] = {
        {"E:\\Doc.tif", &kSingleByte, "E:\\"},
        {"Out\\Doc.tif", &kSingleByte, "C:\\Cur\\Out\\"},
        // E:\Out\ソ.tif: the second byte of "ソ" is 0x5C.
        {"E:\\Out\\\x83\x5C.tif", &kShiftJis, "E:\\Out\\"},
        {"E:\\Out\\\x83\x5C.tif", &kSingleByte, "E:\\Out\\\x83\\"},
        {"E:\\\x83\x5C\\Doc.tif", &kShiftJis, "E:\\\x83\x5C\\"},
    };
    const std::string produced = "D:\\Spool\\job1.tif";
    for (const auto& row : rows) {
        calls.files = {{produced, "print"}};
        calls.steps.clear();
        EXPECT_EQ(MoveFileWhole(calls, *row.codePage, produced, row.target), 0u) << row.target;
        EXPECT_EQ(calls.steps.at(0), "make part in " + row.folder);
        EXPECT_EQ(calls.files, (Files{{row.target, "print"}}));
    }
}

// The system makes a part's name in a folder of at most MAX_PATH - 14 characters.
TEST_F(FileMove, a_part_that_cannot_be_made_fails_the_move_and_nothing_else_is_done) {
    const std::string longestFolder = "E:\\" + std::string(242, 'f') + "\\";
    ASSERT_EQ(longestFolder.size(), 246u);
    calls.files = {{kProduced, "print"}};
    EXPECT_EQ(Move(longestFolder + "Doc.tif"), 0u);
    EXPECT_EQ(calls.steps.at(1), "make part in " + longestFolder);

    const struct {
        std::string target;
        unsigned long makeFailure;
        unsigned long failure;
    } rows[] = {
        {"E:\\" + std::string(243, 'f') + "\\Doc.tif", 0, kFilenameTooLong},
        {kTarget, kAccessDenied, kAccessDenied},
        {kTarget, kDirectory, kDirectory},
        {kTarget, kPathNotFound, kPathNotFound},
    };
    for (const auto& row : rows) {
        calls.files = {{kProduced, "print"}};
        calls.steps.clear();
        calls.failures.clear();
        if (row.makeFailure != 0) {
            calls.failures["make part"] = row.makeFailure;
        }
        EXPECT_EQ(Move(row.target), row.failure) << row.target;
        EXPECT_EQ(calls.files, (Files{{kProduced, "print"}}));
        for (const std::string& step : calls.steps) {
            EXPECT_NE(step.rfind("copy ", 0), 0u) << step;
            EXPECT_NE(step.rfind("delete ", 0), 0u) << step;
        }
    }
}

TEST_F(FileMove, a_failed_step_deletes_the_part_and_returns_its_own_error) {
    const std::pair<std::string, unsigned long> rows[] = {
        {"copy", kDiskFull},      {"copy", kHandleDiskFull}, {"copy", kAccessDenied},
        {"move", kAlreadyExists}, {"move", kAccessDenied},
    };
    for (const auto& [step, failure] : rows) {
        calls.files = {{kProduced, "print"}};
        calls.failures = {{step, failure}};
        EXPECT_EQ(Move(), failure) << step;
        EXPECT_EQ(calls.files, (Files{{kProduced, "print"}})) << step;
        EXPECT_EQ(calls.steps.back(), "delete " + kPart) << step;
        calls.steps.clear();
    }
}

TEST_F(FileMove, the_first_failure_is_returned_even_when_its_part_cannot_be_deleted) {
    calls.failures = {{"copy", kDiskFull}};
    calls.undeletable = {kPart};
    EXPECT_EQ(Move(), kDiskFull);
}

// Names a user may give a copy of the print, and the name of a part that a host ended during a
// copy left behind: the host cannot tell it from a file of the user's.
TEST_F(FileMove, files_beside_the_target_stay_whatever_becomes_of_the_move) {
    const Files beside = {{"E:\\Out\\Doc.ti~", "user ~"},
                          {"E:\\Out\\Doc.ti-", "user -"},
                          {"E:\\Out\\Doc.tmp", "user tmp"},
                          {kPart, "left part"}};
    const struct {
        const char* what;
        bool produced;
        std::map<std::string, unsigned long> failures;
        unsigned long result;
    } rows[] = {
        {"placed", true, {}, 0},
        {"produced file missing", false, {}, kFileNotFound},
        {"disk full", true, {{"copy", kDiskFull}}, kDiskFull},
        {"rename refused", true, {{"move", kAccessDenied}}, kAccessDenied},
    };
    for (const bool windowsNt : {true, false}) {
        for (const auto& row : rows) {
            calls.windowsNt = windowsNt;
            calls.files = beside;
            if (row.produced) {
                calls.files[kProduced] = "print";
            }
            calls.failures = row.failures;
            calls.steps.clear();
            EXPECT_EQ(Move(), row.result) << row.what;
            for (const auto& [path, content] : beside) {
                EXPECT_EQ(calls.files[path], content) << row.what << ": " << path;
            }
            EXPECT_EQ(calls.files.count("E:\\Out\\Vel0002.tmp"), 0u) << row.what;
            EXPECT_EQ(calls.files.count(kTarget), row.result == 0 ? 1u : 0u) << row.what;
        }
    }
}

TEST_F(FileMove, an_existing_target_on_another_volume_is_refused_before_any_copy) {
    for (const bool windowsNt : {true, false}) {
        calls.windowsNt = windowsNt;
        calls.files = {{kProduced, "print"}, {kTarget, "earlier print"}};
        calls.steps.clear();
        EXPECT_EQ(Move(), kAlreadyExists);
        EXPECT_EQ(calls.steps, windowsNt ? std::vector<std::string>{"rename without copy " +
                                                                    kProduced + " > " + kTarget}
                                         : std::vector<std::string>{});
        EXPECT_EQ(calls.files.at(kTarget), "earlier print");
    }
}

TEST_F(FileMove, a_missing_produced_file_is_reported_as_missing_even_when_the_target_exists) {
    calls.files = {{kTarget, "earlier print"}};
    EXPECT_EQ(Move(), kFileNotFound);
    EXPECT_EQ(calls.files, (Files{{kTarget, "earlier print"}}));
}

TEST_F(FileMove, a_missing_produced_file_is_reported_as_missing_when_no_part_can_be_made) {
    calls.windowsNt = false;
    calls.files = {};
    calls.failures = {{"make part", kDirectory}};
    EXPECT_EQ(Move(), kFileNotFound);
    EXPECT_EQ(calls.files, Files{});
}

TEST_F(FileMove, a_produced_file_that_stays_after_the_rename_does_not_fail_the_move) {
    calls.undeletable = {kProduced};
    EXPECT_EQ(Move(), 0u);
    EXPECT_EQ(calls.files.at(kTarget), "print");
}

// On Windows NT only a rename refused across volumes leads to a copy.
TEST_F(FileMove, a_failed_rename_is_returned_and_nothing_else_is_done) {
    for (const std::string& target : {kSameDriveTarget, kTarget}) {
        for (unsigned long failure :
             {kAlreadyExists, kAccessDenied, kFileNotFound, kPathNotFound, kBadPathname}) {
            calls.steps.clear();
            calls.failures = {{"rename without copy", failure}};
            EXPECT_EQ(Move(target), failure) << target;
            EXPECT_EQ(calls.steps.size(), 1u) << target;
        }
    }
    calls.windowsNt = false;
    calls.steps.clear();
    calls.failures = {{"move", kAccessDenied}};
    EXPECT_EQ(Move(kSameDriveTarget), kAccessDenied);
    EXPECT_EQ(calls.steps.size(), 1u);
}

TEST(VolumeRoot, a_drive_letter_or_a_network_share_and_nothing_else) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Out\\Doc.tif", "C:\\"},
        {"e:\\Doc.tif", "E:\\"},
        {"c:\\", "C:\\"},
        {"\\\\server\\share\\Out\\Doc.tif", "\\\\server\\share\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"c:Doc.tif", ""},
        {"Out\\Doc.tif", ""},
        {"\\Out\\Doc.tif", ""},
        {"1:\\Doc.tif", ""},
        {"\\\\server", ""},
        {"\\\\server\\", ""},
        {"\\\\server\\\\Doc.tif", ""},
        {"\\\\\\share\\Doc.tif", ""},
        {"\\\\?\\C:\\Doc.tif", ""},
        {"\\\\.\\C:\\Doc.tif", ""},
        // In code page 932 the second byte of 0x83 0x5C is not a backslash.
        {"\\\\srv\\\x83\\A\\Doc.tif", ""},
        {"\\\\srv\x83\\x\\share\\Doc.tif", ""},
        {"", ""},
    };
    for (const auto& [path, root] : rows) {
        EXPECT_EQ(VolumeRoot(path), root) << path;
    }
}
