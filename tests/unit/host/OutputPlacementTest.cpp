#include "HostBench.h"

namespace {

const std::string kProduced = "c:\\Spool\\job1.tif";
const std::string kTarget = "c:\\Out\\Doc.tif";

std::string Question(const std::string& target) {
    return "A file named\n" + target +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

} // namespace

class Placement : public HostBench {
  protected:
    void SetUp() override {
        host.outputRoot = "c:\\Out\\";
        host.nameSuffix = "Doc";
        host.targetPath = kTarget;
        platform.AddFile(kProduced);
        platform.AddFolders("c:\\Out");
    }
    PlacementOutcome PlaceProduced() { return host.PlaceOutputFile(kProduced, host.targetPath); }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : platform.boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }
};

TEST_F(Placement, a_successful_move_returns_0_without_a_box) {
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placed);
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{kTarget});
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Placement, every_cause_without_question_shows_its_error_box_and_returns_0) {
    const std::pair<int, const char*> rows[] = {
        {1, "An unspecified error occurred."},
        {2, "File not found"},
        {4, "An error occurred."},
        {6, "An error occurred."},
        {7, "An error occurred."},
        {8, "An error occurred."},
        {9, "An error occurred."},
        {10, "There was a hardware error."},
        {11, "An error occurred."},
        {12, "An error occurred."},
        {13, "The disk is full"},
        {14, "An error occurred."},
    };
    for (const auto& [cause, text] : rows) {
        platform.boxes.clear();
        platform.FailNextRename(cause);
        EXPECT_EQ(PlaceProduced(), PlacementOutcome::notPlaced) << cause;
        ASSERT_EQ(platform.boxes.size(), 1u) << cause;
        EXPECT_EQ(platform.boxes[0].text, std::string("The file could not be renamed: ") + text);
        EXPECT_EQ(platform.boxes[0].style, 0u);
    }
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{kProduced});
}

TEST_F(Placement, cause_0_returns_0_without_a_box) {
    platform.FailNextRename(filecause::kNone);
    EXPECT_NE(PlaceProduced(), PlacementOutcome::cancelled);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Placement, bad_path_and_access_denied_ask_the_overwrite_question) {
    for (int cause : {filecause::kBadPath, filecause::kAccessDenied}) {
        platform.boxes.clear();
        platform.FailNextRename(cause);
        platform.Press(kButtonCancel);
        EXPECT_EQ(PlaceProduced(), PlacementOutcome::cancelled) << cause;
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, Question(kTarget));
        EXPECT_EQ(platform.boxes[0].style, 0x2023u);
    }
}

TEST_F(Placement, yes_replaces_the_target_in_a_second_move) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonYes);
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placed);
    EXPECT_EQ(platform.files.Files(), (std::map<std::string, std::string>{{kTarget, "print"}}));
}

TEST_F(Placement, yes_on_a_target_that_cannot_be_deleted_asks_again_until_cancel) {
    platform.AddFile(kTarget, "earlier");
    platform.files.Find(kTarget)->readOnly = true;
    platform.Press(kButtonYes);
    platform.Press(kButtonYes);
    platform.Press(kButtonCancel);
    // The answer after Yes is not passed on: the chain ends in 0 even when it ends in Cancel.
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::notPlaced);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(3, Question(kTarget)));
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kProduced, kTarget}));
}

TEST_F(Placement, no_chooses_a_new_root_that_takes_the_suffix_and_tif) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonNo);
    platform.Choose("c:\\Other\\Report");
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placed);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "c:\\Out\\");
    EXPECT_EQ(host.outputRoot, "c:\\Other\\Report");
    EXPECT_EQ(host.targetPath, "c:\\Other\\ReportDoc.tif");
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kTarget, "c:\\Other\\ReportDoc.tif"}));
}

TEST_F(Placement, no_then_cancel_in_the_dialog_returns_1_and_changes_nothing) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonNo);
    platform.CancelDialog();
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::cancelled);
    EXPECT_EQ(host.outputRoot, "c:\\Out\\");
    EXPECT_EQ(host.targetPath, kTarget);
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kProduced, kTarget}));
}

TEST_F(Placement, no_onto_another_existing_name_asks_again_and_passes_its_answer_on) {
    platform.AddFile(kTarget, "earlier");
    platform.AddFile("c:\\Taken\\Doc.tif", "earlier");
    platform.Press(kButtonNo);
    platform.Choose("c:\\Taken\\");
    platform.Press(kButtonCancel);
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::cancelled);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{Question(kTarget), Question("c:\\Taken\\Doc.tif")}));
}

TEST_F(Placement, a_failed_box_counts_as_placed) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(0);
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::notPlaced);
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kProduced, kTarget}));
}

TEST_F(Placement, a_target_beyond_the_path_limit_is_a_bad_path_and_never_reaches_the_platform) {
    const std::string longTarget = "c:\\" + std::string(253, 't') + ".tif";
    ASSERT_EQ(longTarget.size(), 260u);
    platform.Press(kButtonYes);
    platform.Press(kButtonNo);
    platform.Choose("c:\\Short\\");
    std::vector<std::string> calls;
    platform.files.story = &calls;
    EXPECT_EQ(host.PlaceOutputFile(kProduced, longTarget), PlacementOutcome::placed);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>(2, Question(longTarget))));
    for (const std::string& call : calls) {
        EXPECT_EQ(call.find(longTarget), std::string::npos) << call;
    }
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{"c:\\Short\\Doc.tif"});
}

TEST_F(Placement, a_target_of_259_characters_is_moved) {
    const std::string target = "c:\\" + std::string(252, 't') + ".tif";
    ASSERT_EQ(target.size(), 259u);
    EXPECT_EQ(host.PlaceOutputFile(kProduced, target), PlacementOutcome::placed);
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{target});
}

TEST_F(Placement, a_target_grown_past_the_limit_by_repeated_tif_is_refused_as_a_bad_path) {
    host.outputRoot = "c:\\" + std::string(245, 'r');
    SetSuffix("000");
    EXPECT_EQ(Place("c:\\Spool\\a"), 0);
    EXPECT_EQ(Place("c:\\Spool\\b"), 0);
    platform.Press(kButtonCancel);
    EXPECT_EQ(Place("c:\\Spool\\c"), 1);
    EXPECT_EQ(host.targetPath.size(), 260u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Question(host.targetPath)});
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kProduced, host.outputRoot + ".tif",
                                                           host.outputRoot + ".tif.tif"}));
    EXPECT_FALSE(Exists("c:\\Spool\\c.tif"));
}

TEST_F(Placement, yes_overwrites_the_target_asked_about_though_a_request_changed_it_meanwhile) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonYes, [&] {
        SetRoot("d:\\New\\");
        SetSuffix("Other");
    });
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placed);
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{kTarget});
    EXPECT_EQ(host.targetPath, "d:\\New\\Other");
}

TEST_F(Placement, no_uses_the_root_and_suffix_that_requests_set_meanwhile) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonNo, [&] {
        SetRoot("d:\\New\\");
        SetSuffix("Other");
    });
    platform.Choose("d:\\Chosen\\");
    // A copy to the other drive leaves the produced file for the request to discard.
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placedLeavingCopy);
    EXPECT_EQ(platform.dialogs[0].folder, "d:\\New\\");
    EXPECT_EQ(host.targetPath, "d:\\Chosen\\Other.tif");
    EXPECT_EQ(platform.FilePaths(),
              (std::set<std::string>{kProduced, kTarget, "d:\\Chosen\\Other.tif"}));
}

TEST_F(Placement, a_second_placement_runs_to_its_end_while_the_first_waits_in_its_error_box) {
    platform.FailNextRename(filecause::kSharingViolation);
    std::int32_t second = -1;
    platform.Press(kButtonOk, [&] { second = Place("c:\\Spool\\job2"); });
    EXPECT_EQ(Send(vellora::HM_PLACE_OUTPUT, Atom("c:\\Spool\\job1")), 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(platform.FilePaths(), std::set<std::string>{"c:\\Out\\Doc.tif.tif.tif"});
}

const char* const kTooLong = "The chosen name is too long: a path may hold at most 259 characters."
                             "\nPlease choose a shorter name.";

// The dialog of 1285 knows no suffix yet, but ".tif" comes in any case.
TEST_F(Placement, a_chosen_name_too_long_for_a_path_is_refused_and_the_dialog_opens_again) {
    host.outputRoot = "c:\\Out\\Doc";
    const std::string fits = "c:\\" + std::string(252, 'n');
    platform.Choose(fits + "x");
    platform.TypeNameTooLongForDialog();
    platform.Choose(fits);
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 0);
    EXPECT_EQ(host.outputRoot, fits);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, kTooLong));
    ASSERT_EQ(platform.dialogs.size(), 3u);
    for (const auto& dialog : platform.dialogs) {
        EXPECT_EQ(dialog.folder, "c:\\Out");
        EXPECT_EQ(dialog.fileName, "Doc");
    }
}

TEST_F(Placement, a_name_chosen_after_no_must_take_the_suffix_and_tif) {
    platform.AddFile(kTarget, "earlier");
    const std::string fits = "c:\\" + std::string(249, 'n');
    platform.Press(kButtonNo);
    platform.Choose(fits + "x");
    platform.Choose(fits);
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::placed);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Question(kTarget), kTooLong}));
    EXPECT_EQ(platform.FilePaths(), (std::set<std::string>{kTarget, fits + "Doc.tif"}));
}

TEST_F(Placement, cancel_after_a_name_too_long_keeps_the_root) {
    platform.Choose("c:\\" + std::string(300, 'n'));
    platform.CancelDialog();
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 1);
    EXPECT_EQ(host.outputRoot, "c:\\Out\\");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kTooLong});
}

TEST_F(Placement, a_root_set_while_the_dialog_waits_stays_when_the_dialog_is_cancelled) {
    platform.CancelDialog([&] { SetRoot("d:\\Meanwhile\\"); });
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 1);
    EXPECT_EQ(host.outputRoot, "d:\\Meanwhile\\");
    platform.Choose("c:\\Chosen", [&] { SetRoot("d:\\Meanwhile2\\"); });
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 0);
    EXPECT_EQ(host.outputRoot, "c:\\Chosen");
}

// While the first question waits, a second print for the same target is placed after its own
// Yes: the first Yes was given for the earlier print, which is gone, and is asked again.
TEST_F(Placement, a_yes_is_for_the_file_asked_about_and_asks_again_when_another_took_its_name) {
    platform.AddFile(kTarget, "earlier");
    platform.Press(kButtonYes, [&] {
        platform.AddFile("c:\\Spool\\job2.tif", "second print");
        platform.boxAnswers.push_front({kButtonYes, {}});
        SetRoot("c:\\Out\\");
        SetSuffix("Doc");
        EXPECT_EQ(Place("c:\\Spool\\job2"), 0);
    });
    platform.Press(kButtonCancel);
    EXPECT_EQ(PlaceProduced(), PlacementOutcome::cancelled);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(3, Question(kTarget)));
    EXPECT_EQ(platform.files.Files(), (std::map<std::string, std::string>{
                                          {kProduced, "print"}, {kTarget, "second print"}}));
}
