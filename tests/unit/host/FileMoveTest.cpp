#include "FileMove.h"

#include "CodePages.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kPathNotFound = 3;
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kNotSameDevice = 17;
constexpr unsigned long kFileExists = 80;
constexpr unsigned long kCannotMake = 82;
constexpr unsigned long kHandleDiskFull = 39;
constexpr unsigned long kDiskFull = 112;
constexpr unsigned long kBadPathname = 161;
constexpr unsigned long kAlreadyExists = 183;
constexpr unsigned long kDirectory = 267;

using Files = std::map<std::string, std::string>;

const std::string kProduced = "C:\\Spool\\job1.tif";
const std::string kTarget = "E:\\Out\\Doc.tif";
const std::string kPart = "E:\\Out\\Doc.~00";
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
    std::string openPart;
    bool fullPathsKnown = true;

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
    unsigned long Rename(const std::string& from, const std::string& to, ExistingTarget existing) {
        if (files.count(from) == 0) {
            return kFileNotFound;
        }
        if (files.count(to) != 0 && existing == ExistingTarget::keep) {
            return kAlreadyExists;
        }
        if (files.count(to) != 0 && undeletable.count(to) != 0) {
            return kAccessDenied;
        }
        files[to] = files[from];
        files.erase(from);
        return 0;
    }

    bool HasRenameWithoutCopy() override { return windowsNt; }
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget existing) override {
        EXPECT_TRUE(windowsNt);
        const bool replace = existing == ExistingTarget::replace;
        steps.push_back((replace ? "replace " : "rename without copy ") + from + " > " + to);
        unsigned long failure = 0;
        const char* const call =
            replace ? (parts.count(from) != 0 ? "replace part" : "replace") : "rename without copy";
        if (Fails(call, failure)) {
            return failure;
        }
        return Volume(from) == Volume(to) ? Rename(from, to, existing) : kNotSameDevice;
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        steps.push_back("move " + from + " > " + to);
        unsigned long failure = 0;
        return Fails("move", failure) ? failure : Rename(from, to, ExistingTarget::keep);
    }
    unsigned long CreatePart(const std::string& part) override {
        steps.push_back("create " + part);
        unsigned long failure = 0;
        if (Fails("create part", failure)) {
            return failure;
        }
        if (files.count(part) != 0) {
            return kFileExists;
        }
        files[part] = "";
        parts.insert(part);
        openPart = part;
        return 0;
    }
    unsigned long FillPart(const std::string& from) override {
        steps.push_back("fill " + openPart + " from " + from);
        EXPECT_EQ(parts.count(openPart), 1u) << "written to a file the host did not make";
        const std::string part = openPart;
        openPart.clear();
        if (files.count(from) == 0) {
            return kFileNotFound;
        }
        unsigned long failure = 0;
        files[part] = Fails("copy", failure) ? "part" : files[from];
        return failure;
    }
    unsigned long Delete(const std::string& path) override {
        steps.push_back("delete " + path);
        if (files.count(path) == 0) {
            return kFileNotFound;
        }
        if (undeletable.count(path) != 0) {
            return kAccessDenied;
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
    std::string ShortPath(const std::string&) override { return std::string(); }
    // A path of another form is taken in the folder "C:\Cur".
    std::string FullPath(const std::string& path) override {
        if (!fullPathsKnown) {
            return std::string();
        }
        if (path.find(":\\") == 1 || path.rfind("\\\\", 0) == 0) {
            return path;
        }
        return "C:\\Cur\\" + path;
    }
};

class FileMove : public ::testing::Test {
  protected:
    void SetUp() override { calls.files = {{kProduced, "print"}}; }
    unsigned long Move(const std::string& to = kTarget,
                       ExistingTarget existing = ExistingTarget::keep) {
        return MoveFileWhole(calls, kSingleByte, kProduced, to, existing).failure;
    }
    // The steps of a move through a part on Windows 9x; on Windows NT, the rename comes first.
    std::vector<std::string> CopyThroughPartSteps() const {
        return {"create " + kPart, "fill " + kPart + " from " + kProduced,
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
        EXPECT_EQ(MoveFileWhole(calls, kSingleByte, from, to, ExistingTarget::keep).failure, 0u)
            << to;
        EXPECT_EQ(calls.steps,
                  std::vector<std::string>{"rename without copy " + from + " > " + to});
        EXPECT_EQ(calls.files, (Files{{to, "print"}}));
    }
}

TEST_F(FileMove, a_folder_mounted_from_another_volume_on_the_same_drive_goes_through_a_part) {
    calls.volumes = {{"E:\\Out\\", "mounted"}};
    const std::string target = "E:\\Out\\Doc.tif";
    calls.files = {{"E:\\Spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, kSingleByte, "E:\\Spool\\job1.tif", target, ExistingTarget::keep)
                  .failure,
              0u);
    EXPECT_EQ(calls.steps.size(), 5u);
    EXPECT_EQ(calls.steps[2], "fill " + kPart + " from E:\\Spool\\job1.tif");
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
        EXPECT_EQ(MoveFileWhole(calls, kSingleByte, from, to, ExistingTarget::keep).failure, 0u)
            << from << " " << to;
        EXPECT_EQ(calls.steps.at(0).rfind("create ", 0), 0u) << calls.steps.at(0);
        EXPECT_EQ(calls.files, (Files{{to, "print"}}));
    }
}

TEST_F(FileMove, on_windows_9x_paths_on_one_network_share_are_one_plain_move) {
    calls.windowsNt = false;
    calls.files = {{"\\\\srv\\share\\spool\\job1.tif", "print"}};
    EXPECT_EQ(MoveFileWhole(calls, kSingleByte, "\\\\srv\\share\\spool\\job1.tif",
                            "\\\\srv\\share\\Doc.tif", ExistingTarget::keep)
                  .failure,
              0u);
    EXPECT_EQ(calls.steps, std::vector<std::string>{"move \\\\srv\\share\\spool\\job1.tif > "
                                                    "\\\\srv\\share\\Doc.tif"});
}

// The folder's last backslash is a character of its own, never a double-byte character's
// second byte; a path of another form is made full first.
TEST_F(FileMove, the_part_is_made_beside_the_full_path_of_the_target_under_its_name) {
    calls.windowsNt = false;
    const struct {
        std::string target;
        const LeadByteRule* codePage;
        std::string part;
    } rows[] = {
        {"E:\\Doc.tif", &kSingleByte, "E:\\Doc.~00"},
        {"Out\\Doc.tif", &kSingleByte, "C:\\Cur\\Out\\Doc.~00"},
        {"E:\\Out\\.tif", &kSingleByte, "E:\\Out\\.~00"},
        // E:\Out\ソ.tif: the second byte of "ソ" is 0x5C.
        {"E:\\Out\\\x83\x5C.tif", &kShiftJis, "E:\\Out\\\x83\x5C.~00"},
        {"E:\\\x83\x5C\\Doc.tif", &kShiftJis, "E:\\\x83\x5C\\Doc.~00"},
        // The longest target: a folder that leaves no room for a name of the system's own.
        {"E:\\" + std::string(243, 'f') + "\\Doc.tif", &kSingleByte,
         "E:\\" + std::string(243, 'f') + "\\Doc.~00"},
    };
    const std::string produced = "D:\\Spool\\job1.tif";
    for (const auto& row : rows) {
        calls.files = {{produced, "print"}};
        calls.steps.clear();
        EXPECT_EQ(
            MoveFileWhole(calls, *row.codePage, produced, row.target, ExistingTarget::keep).failure,
            0u)
            << row.target;
        EXPECT_EQ(calls.steps.at(0), "create " + row.part);
        EXPECT_EQ(calls.files, (Files{{row.target, "print"}}));
    }
}

Files WithPartNamesTaken(Files files, unsigned count) {
    for (unsigned number = 0; number < count; ++number) {
        const char digits[] = {"0123456789abcdef"[number / 16], "0123456789abcdef"[number % 16]};
        files["E:\\Out\\Doc.~" + std::string(digits, 2)] = "user";
    }
    return files;
}

TEST_F(FileMove, the_last_part_name_is_tried_too) {
    calls.files = WithPartNamesTaken({{kProduced, "print"}}, 255);
    EXPECT_EQ(Move(), 0u);
    EXPECT_EQ(calls.files, WithPartNamesTaken({{kTarget, "print"}}, 255));
}

TEST_F(FileMove, a_part_that_cannot_be_made_fails_the_move_and_nothing_else_is_done) {
    const Files allTaken = WithPartNamesTaken({{kProduced, "print"}}, 256);
    const struct {
        Files files;
        unsigned long createFailure;
        bool fullPathKnown;
        unsigned long failure;
    } rows[] = {
        {{{kProduced, "print"}}, kAccessDenied, true, kAccessDenied},
        {{{kProduced, "print"}}, kPathNotFound, true, kPathNotFound},
        {{{kProduced, "print"}}, 0, false, kBadPathname},
        {allTaken, 0, true, kCannotMake},
    };
    for (const auto& row : rows) {
        calls.files = row.files;
        calls.fullPathsKnown = row.fullPathKnown;
        calls.steps.clear();
        calls.failures.clear();
        if (row.createFailure != 0) {
            calls.failures["create part"] = row.createFailure;
        }
        EXPECT_EQ(Move(), row.failure);
        EXPECT_EQ(calls.files, row.files);
        for (const std::string& step : calls.steps) {
            EXPECT_NE(step.rfind("fill ", 0), 0u) << step;
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
            EXPECT_EQ(calls.files.count("E:\\Out\\Doc.~01"), 0u) << row.what;
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
    calls.failures = {{"create part", kDirectory}};
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

// After the overwrite question's Yes.
TEST_F(FileMove, the_earlier_print_is_replaced_only_once_the_new_one_is_whole_beside_it) {
    const std::string replace = "replace " + kProduced + " > " + kTarget;
    const struct {
        bool windowsNt;
        std::string target;
        std::vector<std::string> steps;
    } rows[] = {
        {true, kSameDriveTarget, {"replace " + kProduced + " > " + kSameDriveTarget}},
        {false,
         kSameDriveTarget,
         {"move " + kProduced + " > C:\\Out\\Doc.~00", "delete " + kSameDriveTarget,
          "move C:\\Out\\Doc.~00 > " + kSameDriveTarget}},
        {true,
         kTarget,
         {replace, "create " + kPart, "fill " + kPart + " from " + kProduced, "delete " + kProduced,
          "replace " + kPart + " > " + kTarget}},
        {false,
         kTarget,
         {"create " + kPart, "fill " + kPart + " from " + kProduced, "delete " + kProduced,
          "delete " + kTarget, "move " + kPart + " > " + kTarget}},
    };
    for (const auto& row : rows) {
        calls.windowsNt = row.windowsNt;
        calls.files = {{kProduced, "print"}, {row.target, "earlier print"}};
        calls.steps.clear();
        EXPECT_EQ(Move(row.target, ExistingTarget::replace), 0u) << row.target;
        EXPECT_EQ(calls.steps, row.steps);
        EXPECT_EQ(calls.files, (Files{{row.target, "print"}}));
    }
}

TEST_F(FileMove, a_failure_after_yes_leaves_the_earlier_print_whole_at_its_name) {
    const std::pair<std::string, unsigned long> rows[] = {
        {"create part", kAccessDenied}, {"copy", kDiskFull}, {"replace part", kAccessDenied}};
    for (const bool windowsNt : {true, false}) {
        for (const auto& [step, failure] : rows) {
            calls.windowsNt = windowsNt;
            calls.files = {{kProduced, "print"}, {kTarget, "earlier print"}};
            calls.failures = {{step, failure}};
            if (!windowsNt && step == "replace part") {
                calls.undeletable = {kTarget};
                calls.failures = {{"move", kAccessDenied}};
            }
            EXPECT_EQ(Move(kTarget, ExistingTarget::replace), failure) << step;
            // Once whole, the new print is kept in its part.
            const Files kept = {{step == "replace part" ? kPart : kProduced, "print"},
                                {kTarget, "earlier print"}};
            EXPECT_EQ(calls.files, kept) << step;
            calls.undeletable.clear();
        }
    }
}

// Windows 9x deletes the earlier print before the rename: should the rename then fail, the part
// keeps the new print.
TEST_F(FileMove, on_windows_9x_a_part_that_cannot_take_the_name_of_a_deleted_print_stays) {
    calls.windowsNt = false;
    calls.files = {{kProduced, "print"}, {kTarget, "earlier print"}};
    calls.failures = {{"move", kAccessDenied}};
    EXPECT_EQ(Move(kTarget, ExistingTarget::replace), kAccessDenied);
    EXPECT_EQ(calls.files, (Files{{kPart, "print"}}));
}

TEST(VolumeRoot, a_drive_letter_or_a_network_share_and_nothing_else) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Out\\Doc.tif", "C:\\"},
        {"e:\\Doc.tif", "E:\\"},
        {"Z:\\Doc.tif", "Z:\\"},
        {"a:\\Doc.tif", "A:\\"},
        {"z:\\Doc.tif", "Z:\\"},
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
