#include "FileMove.h"

#include "CodePages.h"
#include "ModelFileSystem.h"
#include "SystemErrorCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

using namespace syserror;

namespace {

using Files = std::map<std::string, std::string>;

const std::string kProduced = "C:\\Spool\\job1.tif";
const std::string kTarget = "E:\\Out\\Doc.tif";
const std::string kPart = "E:\\Out\\Doc.~00";

// C: and its SUBST letter S:, its share \\PC\C\, another file system linked in C:\Linked\, the
// drive E:, and F: with room for 3 bytes.
class FileMove : public ::testing::TestWithParam<ModelSystem> {
  protected:
    void SetUp() override {
        files.AddRoot("C:\\", 0);
        files.AddRoot("E:\\", 1);
        files.AddRoot("C:\\Linked\\", 2);
        files.AddRoot("F:\\", 3);
        files.AddRoot("S:\\", 0);
        files.AddRoot("\\\\PC\\C\\", 0, true);
        files.Volume(3).room = 3;
        for (const char* folder :
             {"C:\\Spool", "C:\\Out", "C:\\Cur", "E:\\Out", "C:\\Linked\\Out", "F:\\Out"}) {
            files.AddFolder(folder);
        }
        files.SetCurrentFolder("C:\\Cur");
        files.AddFile(kProduced, "print");
    }
    MoveResult Move(const std::string& to = kTarget,
                    ExistingTarget existing = ExistingTarget::keep) {
        const FileStamp answeredFor = files.Stamp(to);
        return MoveFileWhole(files, kSingleByte, ProducedFile(kProduced, kSingleByte, files), to,
                             existing, answeredFor);
    }
    // The files but the produced file, which a copy leaves for the caller to discard.
    Files Placed() const {
        Files placed = files.Files();
        placed.erase(kProduced);
        return placed;
    }
    bool OnTheDrive(const std::string& path) const {
        const ModelFile* file = files.Find(path);
        return file != nullptr && file->durable == file->content;
    }

    ModelFileSystem files{GetParam(), kSingleByte};
};

INSTANTIATE_TEST_SUITE_P(BothSystems, FileMove,
                         ::testing::Values(ModelSystem::windowsNt, ModelSystem::windows9x),
                         [](const ::testing::TestParamInfo<ModelSystem>& system) {
                             return system.param == ModelSystem::windowsNt ? "NT" : "Windows9x";
                         });

} // namespace

// Only a rename gives the target its name, so every copy has been written through before.
TEST_P(FileMove, the_print_lands_whole_on_the_drive_wherever_the_target_is) {
    for (const char* to :
         {"C:\\Out\\Doc.tif", "C:\\Spool\\Doc.tif", "E:\\Out\\Doc.tif", "C:\\Linked\\Out\\Doc.tif",
          "S:\\Out\\Doc.tif", "\\\\PC\\C\\Out\\Doc.tif", "Doc.tif"}) {
        files.Remove(to);
        files.AddFile(kProduced, "print");
        const MoveResult moved = Move(to);
        EXPECT_EQ(moved.failure, 0u) << to;
        // A copy leaves the produced file for the caller to discard.
        EXPECT_EQ(files.Find(kProduced) != nullptr, moved.leftBehind) << to;
        EXPECT_TRUE(OnTheDrive(to)) << to;
        EXPECT_EQ(files.Find(to)->content, "print") << to;
        EXPECT_TRUE(files.faults.empty()) << files.faults.front();
    }
    // C:, S: and \\PC\C\ reach one file system.
    EXPECT_EQ(Placed(), (Files{{"C:\\Out\\Doc.tif", "print"},
                               {"C:\\Spool\\Doc.tif", "print"},
                               {"E:\\Out\\Doc.tif", "print"},
                               {"C:\\Linked\\Out\\Doc.tif", "print"},
                               {"C:\\Cur\\Doc.tif", "print"}}));
}

TEST_P(FileMove, the_part_is_the_first_free_name_beside_the_full_path_of_the_target) {
    files.AddFile("E:\\Out\\Doc.~00", "a file of the user's");
    files.AddFolder("E:\\Out\\Doc.~01");
    std::vector<std::string> story;
    files.story = &story;
    EXPECT_EQ(Move("E:\\Out\\.\\Doc.tif").failure, 0u);
    EXPECT_EQ(Placed(),
              (Files{{"E:\\Out\\Doc.tif", "print"}, {"E:\\Out\\Doc.~00", "a file of the user's"}}));
    EXPECT_NE(std::find_if(story.begin(), story.end(),
                           [](const std::string& line) {
                               return line.find("CreatePart(E:\\Out\\Doc.~02) -> done") !=
                                      std::string::npos;
                           }),
              story.end());
}

TEST_P(FileMove, with_every_part_name_taken_the_move_fails_and_changes_nothing) {
    for (unsigned number = 0; number < kPartNamesToTry; ++number) {
        const char digits[] = {"0123456789abcdef"[number / 16], "0123456789abcdef"[number % 16], 0};
        files.AddFile(std::string("E:\\Out\\Doc.~") + digits, "taken");
    }
    EXPECT_EQ(Move().failure, kCannotMake);
    EXPECT_EQ(files.Files().size(), 257u);
    EXPECT_EQ(files.Find(kProduced)->content, "print");
    files.Remove("E:\\Out\\Doc.~ff");
    EXPECT_EQ(Move().failure, 0u);
    EXPECT_EQ(files.Find("E:\\Out\\Doc.~ff"), nullptr);
}

// A failed step deletes the part and returns its own error; the produced file and every file
// beside the target stay as they were.
TEST_P(FileMove, a_failed_copy_leaves_no_part_and_returns_its_own_error) {
    files.AddFile("E:\\Out\\Old.tif", "a file of the user's");
    const std::pair<const char*, unsigned long> rows[] = {
        {"FillPart", kDiskFull}, {"FillPart", kNetworkNameDeleted}, {"CreatePart", kAccessDenied}};
    for (const auto& [call, error] : rows) {
        files.failNext.insert({call, error});
        EXPECT_EQ(Move().failure, error) << call;
        EXPECT_EQ(files.Files(),
                  (Files{{kProduced, "print"}, {"E:\\Out\\Old.tif", "a file of the user's"}}))
            << call;
    }
    files.failNext = {{"FillPart", kDiskFull}, {"Delete", kAccessDenied}};
    EXPECT_EQ(Move().failure, kDiskFull);
}

TEST_P(FileMove, a_full_drive_leaves_nothing_at_the_target_or_beside_it) {
    EXPECT_EQ(Move("F:\\Out\\Doc.tif").failure, kDiskFull);
    EXPECT_EQ(files.Files(), (Files{{kProduced, "print"}}));
}

TEST_P(FileMove, an_existing_target_is_kept_and_refused_before_any_copy) {
    files.AddFile(kTarget, "earlier");
    std::vector<std::string> story;
    files.story = &story;
    EXPECT_EQ(Move().failure, kAlreadyExists);
    EXPECT_EQ(files.Files(), (Files{{kProduced, "print"}, {kTarget, "earlier"}}));
    for (const std::string& line : story) {
        EXPECT_EQ(line.find("CreatePart"), std::string::npos) << line;
    }
}

TEST_P(FileMove, a_missing_produced_file_is_reported_as_missing) {
    files.Remove(kProduced);
    EXPECT_EQ(Move().failure, kFileNotFound);
    files.AddFile(kTarget, "earlier");
    EXPECT_EQ(Move().failure, kFileNotFound);
    EXPECT_EQ(Move(kTarget, ExistingTarget::replace).failure, kFileNotFound);
    EXPECT_EQ(files.Files(), (Files{{kTarget, "earlier"}}));
}

TEST_P(FileMove, yes_replaces_the_earlier_print_with_the_new_one_whole) {
    for (const char* to : {"C:\\Out\\Doc.tif", "E:\\Out\\Doc.tif", "C:\\Linked\\Out\\Doc.tif"}) {
        files.AddFile(to, "earlier");
        files.AddFile(kProduced, "print");
        EXPECT_EQ(Move(to, ExistingTarget::replace).failure, 0u) << to;
        EXPECT_EQ(files.Find(to)->content, "print") << to;
        EXPECT_TRUE(OnTheDrive(to)) << to;
        EXPECT_EQ(files.Find(kProduced), nullptr) << to;
    }
    EXPECT_EQ(files.Files().size(), 3u);
}

TEST_P(FileMove, a_failure_after_yes_leaves_the_earlier_print_whole) {
    files.AddFile(kTarget, "earlier");
    for (const char* call : {"RenameWithoutCopy", "CreatePart", "FillPart"}) {
        files.failNext.insert({call, kNetworkNameDeleted});
        const MoveResult moved = Move(kTarget, ExistingTarget::replace);
        if (files.failNext.empty()) {
            EXPECT_NE(moved.failure, 0u) << call;
        }
        files.failNext.clear();
        EXPECT_EQ(files.Find(kTarget)->content, moved.failure == 0 ? "print" : "earlier") << call;
        files.AddFile(kProduced, "print");
        files.Remove(kTarget);
        files.AddFile(kTarget, "earlier");
    }
}

// The copy takes its time: a file that another program put at the target's name meanwhile is not
// the one the Yes was for.
TEST_P(FileMove, a_file_put_at_the_target_during_the_copy_is_asked_about_again) {
    const std::string to = "E:\\Out\\Doc.tif";
    files.AddFile(to, "earlier");
    files.afterCall = [&] {
        const ModelFile* part = files.Find("E:\\Out\\Doc.~00");
        const ModelFile* target = files.Find(to);
        if (part != nullptr && part->content == "print" && target != nullptr &&
            target->content == "earlier") {
            files.Remove(to);
            files.AddFile(to, "another");
        }
    };
    const MoveResult moved = Move(to, ExistingTarget::replace);
    EXPECT_TRUE(moved.askAgain);
    EXPECT_EQ(files.Files(), (Files{{to, "another"}, {kProduced, "print"}}));
}

// Once the produced file is gone, the part holds the only whole copy of the new print.
TEST_P(FileMove, after_yes_a_part_that_cannot_take_the_target_s_name_stays_and_is_named) {
    files.AddFile(kTarget, "earlier");
    files.Hold(kTarget, kShareRead);
    const MoveResult moved = Move(kTarget, ExistingTarget::replace);
    EXPECT_EQ(moved.keptAs, kPart);
    EXPECT_NE(moved.failure, 0u);
    EXPECT_EQ(files.Files(), (Files{{kTarget, "earlier"}, {kPart, "print"}}));
    EXPECT_TRUE(OnTheDrive(kPart));
}

TEST_P(FileMove, yes_never_replaces_a_read_only_file_or_a_folder) {
    files.AddFile(kTarget, "earlier");
    files.Find(kTarget)->readOnly = true;
    EXPECT_EQ(Move(kTarget, ExistingTarget::replace).failure, kAccessDenied);
    files.Remove(kTarget);
    files.AddFolder(kTarget);
    EXPECT_EQ(Move(kTarget, ExistingTarget::replace).failure, kAccessDenied);
    EXPECT_EQ(files.Files(), (Files{{kProduced, "print"}}));
}

// The produced file reached through its short name, a SUBST letter, the share of its own disk or
// a second (hard) link is the target: nothing moves, and it must not be discarded.
TEST_P(FileMove, a_produced_file_that_is_the_target_stays_where_it_is) {
    files.AddShortName(kProduced, "C:\\Spool\\JOB1~1.TIF");
    files.AddLink("C:\\Out\\Link.tif", kProduced);
    for (const char* to : {"C:\\Spool\\JOB1~1.TIF", "S:\\Spool\\job1.tif",
                           "\\\\PC\\C\\Spool\\JOB1.TIF", "C:\\Out\\Link.tif"}) {
        for (const ExistingTarget existing : {ExistingTarget::keep, ExistingTarget::replace}) {
            const MoveResult moved = Move(to, existing);
            EXPECT_TRUE(!moved.leftBehind && moved.failure == 0) << to;
            EXPECT_EQ(files.Find(kProduced)->content, "print") << to;
            EXPECT_EQ(files.Files(), (Files{{kProduced, "print"}, {"C:\\Out\\Link.tif", "print"}}))
                << to;
        }
    }
}

// Two files are told for two only when each opens while the other is held: an earlier print
// that another program holds is not taken for the produced file.
TEST_P(FileMove, a_file_that_another_program_holds_is_never_taken_for_the_produced_file) {
    files.AddFile(kTarget, "earlier");
    files.Hold(kTarget, kShareRead | kShareWrite | kShareDelete);
    const MoveResult moved = Move(kTarget, ExistingTarget::replace);
    EXPECT_FALSE(moved.leftBehind);
    EXPECT_EQ(moved.keptAs, kPart);
    EXPECT_EQ(files.Files(), (Files{{kTarget, "earlier"}, {kPart, "print"}}));
}

TEST_P(FileMove, a_name_that_is_no_plain_file_is_refused_before_any_call) {
    const ProducedFile produced(kProduced, kSingleByte, files);
    const int callsBefore = files.calls;
    for (const char* to : {"C:\\Out\\prn.tif", "C:\\Out\\NUL:x.tif", "C:\\Out\\Doc:x.tif",
                           "\\\\.\\C:\\Out\\Doc.tif", "C:\\Out\\*.tif", "C:\\Out\\Doc|.tif"}) {
        EXPECT_EQ(
            MoveFileWhole(files, kSingleByte, produced, to, ExistingTarget::replace, FileStamp())
                .failure,
            kBadPathname)
            << to;
        EXPECT_EQ(MoveFileWhole(files, kSingleByte, ProducedFile(to, kSingleByte, files), kTarget,
                                ExistingTarget::keep, FileStamp())
                      .failure,
                  kFileNotFound)
            << to;
    }
    EXPECT_EQ(files.calls, callsBefore);
}

// In code page 932 "\x95\x5C" is one character whose second byte is that of "\".
TEST_P(FileMove, double_byte_folders_are_read_by_whole_characters) {
    ModelFileSystem japanese(GetParam(), kShiftJis);
    japanese.AddRoot("C:\\", 0);
    japanese.AddRoot("E:\\", 1);
    japanese.AddFolder("C:\\\x95\x5C");
    japanese.AddFolder("E:\\\x95\x5C");
    japanese.AddFile("C:\\\x95\x5C\\job1.tif", "print");
    const std::string produced = "C:\\\x95\x5C\\job1.tif";
    EXPECT_EQ(MoveFileWhole(japanese, kShiftJis, ProducedFile(produced, kShiftJis, japanese),
                            "E:\\\x95\x5C\\Doc.tif", ExistingTarget::keep, FileStamp())
                  .failure,
              0u);
    EXPECT_EQ(japanese.Files(), (Files{{produced, "print"}, {"E:\\\x95\x5C\\Doc.tif", "print"}}));
}
