#include "FileMove.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kNotSameDevice = 17;
constexpr unsigned long kHandleDiskFull = 39;
constexpr unsigned long kFileExists = 80;
constexpr unsigned long kDiskFull = 112;
constexpr unsigned long kCallNotImplemented = 120;
constexpr unsigned long kAlreadyExists = 183;

const std::string kProduced = "C:\\Spool\\job1.tif";
const std::string kTarget = "E:\\Out\\Doc.tif";
const std::string kPart = "E:\\Out\\Doc.ti~";
const std::string kSameDriveTarget = "C:\\Out\\Doc.tif";

// Files by path with their content, on volumes named by path prefixes. The calls that change
// something are written down in order; a failure given for a call comes back from its next use,
// and a failing copy leaves what it wrote so far, as a copy onto a full drive does.
struct FakeFileCalls final : FileCalls {
    bool windowsNt = true;
    std::map<std::string, std::string> files;
    std::set<std::string> undeletable;
    // Folders mounted from another volume; otherwise a path's volume is its first 3 characters.
    std::set<std::string> mountedFolders;
    std::map<std::string, unsigned long> failures;
    std::vector<std::string> steps;

    std::string Volume(const std::string& path) const {
        for (const std::string& folder : mountedFolders) {
            if (path.compare(0, folder.size(), folder) == 0) {
                return folder;
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
    unsigned long CopyWrittenThrough(const std::string& from, const std::string& to) override {
        steps.push_back("copy " + from + " > " + to);
        if (files.count(from) == 0) {
            return kFileNotFound;
        }
        if (files.count(to) != 0) {
            return kFileExists;
        }
        unsigned long failure = 0;
        files[to] = Fails("copy", failure) ? "part" : files[from];
        return failure;
    }
    void Delete(const std::string& path) override {
        steps.push_back("delete " + path);
        if (undeletable.count(path) == 0) {
            files.erase(path);
        }
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::string FullPath(const std::string& path) override {
        return path.find(':') == 1 || path.rfind("\\\\", 0) == 0 ? path : std::string();
    }
};

class FileMove : public ::testing::Test {
  protected:
    void SetUp() override { calls.files = {{kProduced, "print"}}; }
    unsigned long Move(const std::string& to = kTarget) {
        return MoveFileWhole(calls, kProduced, to);
    }
    std::vector<std::string> CopyThroughPartSteps() const {
        return {"copy " + kProduced + " > " + kPart, "move " + kPart + " > " + kTarget,
                "delete " + kProduced};
    }

    FakeFileCalls calls;
};

} // namespace

TEST_F(FileMove, a_move_within_one_volume_is_one_rename) {
    EXPECT_EQ(Move(kSameDriveTarget), 0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"rename without copy " + kProduced + " > " +
                                                    kSameDriveTarget});
    EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{kSameDriveTarget, "print"}}));
}

TEST_F(FileMove, on_windows_9x_a_move_within_one_drive_is_one_plain_move) {
    calls.windowsNt = false;
    EXPECT_EQ(Move("c:\\Out\\Doc.tif"), 0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"move " + kProduced + " > c:\\Out\\Doc.tif"});
}

TEST_F(FileMove, a_move_to_another_drive_goes_through_a_part_renamed_once_it_is_whole) {
    for (const bool windowsNt : {true, false}) {
        calls.windowsNt = windowsNt;
        calls.files = {{kProduced, "print"}};
        calls.steps.clear();
        EXPECT_EQ(Move(), 0u);
        EXPECT_EQ(calls.steps, CopyThroughPartSteps());
        EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{kTarget, "print"}}));
    }
}

TEST_F(FileMove, on_windows_nt_paths_of_unknown_roots_try_the_rename_first) {
    const std::string from = "\\\\?\\C:\\Spool\\job1.tif";
    const std::string to = "\\\\?\\C:\\Out\\Doc.tif";
    calls.files = {{from, "print"}};
    EXPECT_EQ(MoveFileWhole(calls, from, to), 0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"rename without copy " + from + " > " + to});
}

TEST_F(FileMove, a_folder_mounted_from_another_volume_on_the_same_drive_goes_through_a_part) {
    calls.mountedFolders = {"E:\\Out\\"};
    const std::string target = "E:\\Out\\Doc.tif";
    calls.files = {{"E:\\Spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, "E:\\Spool\\job1.tif", target), 0u);
    EXPECT_EQ(calls.steps.size(), 4u);
    EXPECT_EQ(calls.steps[1], "copy E:\\Spool\\job1.tif > " + kPart);
    EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{target, "print"}}));
}

TEST_F(FileMove, on_windows_9x_every_move_between_paths_of_two_roots_goes_through_a_part) {
    calls.windowsNt = false;
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Spool\\job1.tif", "E:\\Out\\Doc.tif"},
        {"\\\\srv\\share\\job1.tif", "\\\\srv\\other\\Doc.tif"},
        {"\\\\srv\\share\\job1.tif", "\\\\SRV\\share\\Doc.tif"},
        {"C:\\Spool\\job1.tif", "Out\\Doc.tif"},
        {"\\\\?\\C:\\Spool\\job1.tif", "\\\\?\\C:\\Out\\Doc.tif"},
    };
    for (const auto& [from, to] : rows) {
        calls.files = {{from, "print"}};
        calls.steps.clear();
        EXPECT_EQ(MoveFileWhole(calls, from, to), 0u) << from << " " << to;
        EXPECT_EQ(calls.steps.at(0), "copy " + from + " > " + PartFilePath(to));
        EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{to, "print"}}));
    }
}

TEST_F(FileMove, on_windows_9x_paths_on_one_network_share_are_one_plain_move) {
    calls.windowsNt = false;
    calls.files = {{"\\\\srv\\share\\spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, "\\\\srv\\share\\spool\\job1.tif", "\\\\srv\\share\\Doc.tif"),
              0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"move \\\\srv\\share\\spool\\job1.tif > "
                                                    "\\\\srv\\share\\Doc.tif"});
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
        EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{kProduced, "print"}})) << step;
        EXPECT_EQ(calls.steps.back(), "delete " + kPart) << step;
        calls.steps.clear();
    }
}

TEST_F(FileMove, the_first_failure_is_returned_even_when_its_part_cannot_be_deleted) {
    calls.failures = {{"copy", kDiskFull}};
    calls.undeletable = {kPart};
    EXPECT_EQ(Move(), kDiskFull);
}

TEST_F(FileMove, an_existing_target_on_another_volume_is_refused_before_any_copy) {
    calls.files[kTarget] = "earlier print";
    EXPECT_EQ(Move(), kAlreadyExists);
    EXPECT_EQ(calls.steps, std::vector<std::string>{});
    EXPECT_EQ(calls.files.at(kTarget), "earlier print");
}

TEST_F(FileMove, a_missing_produced_file_is_reported_as_missing_even_when_the_target_exists) {
    calls.files = {{kTarget, "earlier print"}};
    EXPECT_EQ(Move(), kFileNotFound);
    EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{kTarget, "earlier print"}}));
}

TEST_F(FileMove, a_part_left_by_an_ended_host_is_deleted_before_the_copy) {
    calls.files[kPart] = "part";
    EXPECT_EQ(Move(), 0u);
    EXPECT_EQ(calls.files, (std::map<std::string, std::string>{{kTarget, "print"}}));
}

TEST_F(FileMove, a_part_that_cannot_be_deleted_fails_the_move_as_an_existing_file) {
    calls.files[kPart] = "held by another host";
    calls.undeletable = {kPart};
    EXPECT_EQ(Move(), kFileExists);
    EXPECT_EQ(calls.files.count(kTarget), 0u);
}

TEST_F(FileMove, a_produced_file_that_stays_after_the_rename_does_not_fail_the_move) {
    calls.undeletable = {kProduced};
    EXPECT_EQ(Move(), 0u);
    EXPECT_EQ(calls.files.at(kTarget), "print");
}

TEST_F(FileMove, a_failed_rename_within_one_volume_is_returned_and_nothing_else_is_done) {
    for (unsigned long failure : {kAlreadyExists, kAccessDenied, kFileNotFound}) {
        calls.steps.clear();
        calls.failures = {{"rename without copy", failure}};
        EXPECT_EQ(Move(kSameDriveTarget), failure);
        EXPECT_EQ(calls.steps.size(), 1u);
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

TEST(PartFilePath, the_target_with_its_last_character_changed) {
    EXPECT_EQ(PartFilePath("E:\\Out\\Doc.tif"), "E:\\Out\\Doc.ti~");
    EXPECT_EQ(PartFilePath("E:\\Out\\.tif"), "E:\\Out\\.ti~");
    EXPECT_EQ(PartFilePath("E:\\Out\\Doc~"), "E:\\Out\\Doc-");
}
