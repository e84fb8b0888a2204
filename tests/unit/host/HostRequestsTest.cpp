#include "HostBench.h"

using Requests = HostBench;

TEST_F(Requests, unknown_requests_return_zero_and_change_nothing) {
    host.outputRoot = "c:\\Out\\";
    host.targetPath = "c:\\Out\\Doc";
    host.nameSuffix = "Doc";
    const std::uint16_t atom = Atom("text");
    for (unsigned message : {1024u, 1282u, 1283u, 1288u, 2000u, 0xFFFFu}) {
        EXPECT_EQ(host.HandleHostMessage(message, atom, 7), 0) << message;
    }
    EXPECT_EQ(host.outputRoot, "c:\\Out\\");
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc");
    EXPECT_EQ(host.nameSuffix, "Doc");
    EXPECT_EQ(host.launchInProgress, 0);
    EXPECT_TRUE(platform.atomsRead.empty());
    EXPECT_TRUE(platform.atomsDeleted.empty());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Requests, name_suffix_follows_the_root_without_separator) {
    SetRoot("c:\\Out\\");
    EXPECT_EQ(SetSuffix("Doc"), 0);
    EXPECT_EQ(host.nameSuffix, "Doc");
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc");
    SetRoot("c:\\VelloraDoc");
    SetSuffix("001");
    EXPECT_EQ(host.targetPath, "c:\\VelloraDoc001");
}

TEST_F(Requests, suffix_000_means_no_suffix) {
    SetRoot("c:\\Out\\");
    SetSuffix("000");
    EXPECT_EQ(host.nameSuffix, "");
    EXPECT_EQ(host.targetPath, "c:\\Out\\");
    for (const char* ordinary : {"0000", "00", " 000", "000 "}) {
        SetSuffix(ordinary);
        EXPECT_EQ(host.nameSuffix, ordinary);
        EXPECT_EQ(host.targetPath, std::string("c:\\Out\\") + ordinary);
    }
}

TEST_F(Requests, suffix_and_root_atoms_are_deleted_the_produced_file_atom_is_kept) {
    const std::uint16_t root = Atom("c:\\Out\\");
    const std::uint16_t suffix = Atom("Doc");
    Send(vellora::HM_SET_OUTPUT_ROOT, root);
    Send(vellora::HM_SET_NAME_SUFFIX, suffix);
    EXPECT_EQ(platform.atomsDeleted, (std::vector<std::uint16_t>{root, suffix}));
    const std::uint16_t produced = Atom("c:\\Spool\\job1");
    Send(vellora::HM_PLACE_OUTPUT, produced);
    EXPECT_EQ(platform.atomsDeleted.size(), 2u);
    EXPECT_EQ(platform.atoms.count(produced), 1u);
}

TEST_F(Requests, atom_texts_are_cut_to_254_characters) {
    const std::string name(255, 's');
    SetSuffix(name);
    EXPECT_EQ(host.nameSuffix, std::string(254, 's'));
    SetRoot("c:\\" + std::string(252, 'r'));
    EXPECT_EQ(host.outputRoot, "c:\\" + std::string(251, 'r'));
}

TEST_F(Requests, an_atom_text_is_cut_before_a_two_byte_character_that_does_not_fit) {
    // 253 letters and "ソ" (0x83 0x5C): 255 bytes.
    const std::string name = std::string(253, 's') + "\x83\x5C";
    SetSuffix(name);
    EXPECT_EQ(host.nameSuffix, std::string(253, 's') + "\x83");
    platform.codePage = &kShiftJis;
    SetSuffix(name);
    EXPECT_EQ(host.nameSuffix, std::string(253, 's'));
    // 254 bytes whose last is a lone lead byte: one character, which fits.
    SetSuffix(std::string(253, 's') + "\x83");
    EXPECT_EQ(host.nameSuffix, std::string(253, 's') + "\x83");
}

TEST_F(Requests, an_atom_that_cannot_be_read_is_the_empty_text) {
    host.nameSuffix = "old";
    host.outputRoot = "c:\\Out\\";
    EXPECT_EQ(Send(vellora::HM_SET_NAME_SUFFIX, 0xC123), 0);
    EXPECT_EQ(host.nameSuffix, "");
    EXPECT_EQ(host.targetPath, "c:\\Out\\");
}

TEST_F(Requests, a_wparam_beyond_16_bits_names_no_atom_and_releases_none) {
    const std::uint16_t atom = Atom("Doc");
    Send(vellora::HM_SET_NAME_SUFFIX, 0x10000u + atom);
    EXPECT_EQ(host.nameSuffix, "");
    EXPECT_TRUE(platform.atomsRead.empty());
    EXPECT_TRUE(platform.atomsDeleted.empty());
    EXPECT_EQ(platform.atoms.count(atom), 1u);
}

TEST_F(Requests, the_highest_atom_number_0xffff_is_read_and_released) {
    platform.atoms[0xFFFF] = "Doc";
    Send(vellora::HM_SET_NAME_SUFFIX, 0xFFFF);
    EXPECT_EQ(host.nameSuffix, "Doc");
    EXPECT_EQ(platform.atomsDeleted, std::vector<std::uint16_t>{0xFFFF});
}

// GlobalAddAtomA("#5") gives the integer atom 5, whose text is "#5": it names no text of the
// driver's, and the suffix and root it would give could reach a file of that name.
TEST_F(Requests, an_integer_atom_below_0xc000_reads_as_empty_and_is_left_alone) {
    platform.atoms[5] = "#5";
    host.outputRoot = "c:\\Out\\";
    Send(vellora::HM_SET_NAME_SUFFIX, 5);
    EXPECT_EQ(host.nameSuffix, "");
    platform.CancelDialog();
    EXPECT_EQ(Send(vellora::HM_SET_OUTPUT_ROOT, 5), 1);
    EXPECT_EQ(host.outputRoot, "");
    EXPECT_TRUE(platform.atomsRead.empty());
    EXPECT_TRUE(platform.atomsDeleted.empty());
}

TEST_F(Requests, lparam_has_no_effect) {
    SetRoot("c:\\Out\\");
    host.HandleHostMessage(vellora::HM_SET_NAME_SUFFIX, Atom("Doc"), -1);
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc");
}

TEST_F(Requests, exit_ends_the_process_with_code_0) {
    host.outputRoot = "c:\\Out\\";
    Send(vellora::HM_EXIT, Atom("ignored"));
    EXPECT_EQ(platform.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(platform.atomsRead.empty());
    EXPECT_TRUE(platform.FilePaths().empty());
}

using PlaceOutput = HostBench;

TEST_F(PlaceOutput, moves_the_produced_file_to_root_suffix_and_tif) {
    platform.AddFolders("c:\\Out");
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    EXPECT_EQ(Place("c:\\Spool\\job1"), 0);
    EXPECT_TRUE(Exists("c:\\Out\\Doc.tif"));
    EXPECT_FALSE(Exists("c:\\Spool\\job1.tif"));
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc.tif");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PlaceOutput, a_root_without_backslash_begins_the_file_name) {
    SetRoot("c:\\Out");
    SetSuffix("Doc");
    Place("c:\\Spool\\job1");
    EXPECT_TRUE(Exists("c:\\OutDoc.tif"));
}

TEST_F(PlaceOutput, suffix_000_places_the_file_at_the_root_itself) {
    SetRoot("c:\\Out\\Report");
    SetSuffix("000");
    Place("c:\\Spool\\job1");
    EXPECT_TRUE(Exists("c:\\Out\\Report.tif"));
}

TEST_F(PlaceOutput, a_second_placement_without_new_suffix_appends_tif_again) {
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    Place("c:\\Spool\\job1");
    EXPECT_EQ(Place("c:\\Spool\\job2"), 0);
    EXPECT_TRUE(Exists("c:\\Out\\Doc.tif"));
    EXPECT_TRUE(Exists("c:\\Out\\Doc.tif.tif"));
}

TEST_F(PlaceOutput, before_any_suffix_the_target_is_the_bare_extension) {
    Place("c:\\Spool\\job1");
    EXPECT_TRUE(Exists(".tif"));
}

TEST_F(PlaceOutput, a_missing_produced_file_shows_file_not_found_and_returns_0) {
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    EXPECT_EQ(Send(vellora::HM_PLACE_OUTPUT, Atom("c:\\Spool\\gone")), 0);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "The file could not be renamed: File not found");
    EXPECT_EQ(platform.boxes[0].style, 0u);
}

TEST_F(PlaceOutput, cancel_at_the_overwrite_question_deletes_the_produced_file_and_returns_1) {
    platform.AddFile("c:\\Out\\Doc.tif", "earlier");
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    platform.Press(kButtonCancel);
    EXPECT_EQ(Place("c:\\Spool\\job1"), 1);
    EXPECT_TRUE(Exists("c:\\Out\\Doc.tif"));
    EXPECT_FALSE(Exists("c:\\Spool\\job1.tif"));
}

TEST_F(PlaceOutput, a_move_that_failed_with_an_error_box_discards_the_produced_file) {
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    platform.FailNextRename(filecause::kSharingViolation);
    EXPECT_EQ(Place("c:\\Spool\\job1"), 1);
    EXPECT_FALSE(Exists("c:\\Spool\\job1.tif"));
    EXPECT_FALSE(Exists("c:\\Out\\Doc.tif"));
}

TEST_F(PlaceOutput, a_produced_file_that_cannot_be_removed_leaves_the_placement_result) {
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    platform.AddFolders("c:\\Out");
    platform.AddFile("c:\\Spool\\job1.tif");
    platform.files.Hold("c:\\Spool\\job1.tif", kShareRead);
    EXPECT_EQ(Place("c:\\Spool\\job1"), 0);
    EXPECT_EQ(platform.boxes.back().text, "The file could not be renamed: An error occurred.");
    platform.AddFile("c:\\Out\\Doc.tif.tif", "earlier");
    platform.AddFile("c:\\Spool\\job2.tif");
    platform.files.Find("c:\\Spool\\job2.tif")->readOnly = true;
    platform.Press(kButtonCancel);
    EXPECT_EQ(Place("c:\\Spool\\job2"), 1);
    EXPECT_TRUE(Exists("c:\\Spool\\job1.tif"));
    EXPECT_TRUE(Exists("c:\\Spool\\job2.tif"));
}

using OutputRootRequests = HostBench;

TEST_F(OutputRootRequests, a_valid_root_is_kept_decoded_without_a_dialog) {
    EXPECT_EQ(SetRoot("c:\\My%20Files\\"), 0);
    EXPECT_EQ(host.outputRoot, "c:\\My Files\\");
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(OutputRootRequests, a_rejected_root_becomes_the_fallback_and_opens_the_dialog_on_it) {
    platform.CancelDialog();
    EXPECT_EQ(SetRoot("c:\\a|b"), 1);
    EXPECT_EQ(host.outputRoot, "c:\\VelloraDoc");
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "c:");
    EXPECT_EQ(platform.dialogs[0].fileName, "VelloraDoc");
}

TEST_F(OutputRootRequests, an_empty_root_opens_the_dialog_on_an_empty_path) {
    platform.Choose("c:\\Chosen\\Report");
    EXPECT_EQ(SetRoot(""), 0);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "");
    EXPECT_EQ(platform.dialogs[0].fileName, "");
    EXPECT_EQ(host.outputRoot, "c:\\Chosen\\Report");
}

// The root c:\out\レポート\ ("ポ" is 0x83 0x7C) on code page 932.
TEST_F(OutputRootRequests, a_double_byte_root_is_read_in_the_platforms_code_page) {
    const std::string report = "c:\\out\\\x83\x8C\x83\x7C\x81\x5B\x83\x67\\";
    platform.codePage = &kShiftJis;
    platform.AddFolders(report.substr(0, report.size() - 1));
    EXPECT_EQ(SetRoot(report), 0);
    EXPECT_EQ(host.outputRoot, report);
    EXPECT_TRUE(platform.dialogs.empty());
    SetSuffix("Doc");
    EXPECT_EQ(Place("c:\\Spool\\job1"), 0);
    EXPECT_TRUE(Exists(report + "Doc.tif"));
}

// The root c:\out\ソフト ("ソ" is 0x83 0x5C) on code page 932.
TEST_F(OutputRootRequests, the_dialog_on_a_double_byte_root_shows_its_folder_and_whole_name) {
    platform.codePage = &kShiftJis;
    SetRoot("c:\\out\\\x83\x5C\x83\x74\x83\x67");
    platform.CancelDialog();
    Send(vellora::HM_PROMPT_OUTPUT_ROOT);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "c:\\out");
    EXPECT_EQ(platform.dialogs[0].fileName, "\x83\x5C\x83\x74\x83\x67");
}

TEST_F(OutputRootRequests, the_target_follows_a_new_root_only_at_the_next_suffix) {
    SetRoot("c:\\Out\\");
    SetSuffix("Doc");
    SetRoot("d:\\Other\\");
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc");
    SetSuffix("Doc");
    EXPECT_EQ(host.targetPath, "d:\\Other\\Doc");
}

TEST_F(OutputRootRequests, prompt_opens_the_dialog_on_the_root_and_takes_the_chosen_path) {
    SetRoot("c:\\Out\\");
    platform.Choose("c:\\Reports\\Week");
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 0);
    EXPECT_EQ(host.outputRoot, "c:\\Reports\\Week");
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "c:\\Out\\");
    EXPECT_EQ(platform.dialogs[0].fileName, "");
}

TEST_F(OutputRootRequests, prompt_cancelled_returns_1_and_keeps_the_root) {
    SetRoot("c:\\Out\\Doc");
    platform.CancelDialog();
    EXPECT_EQ(Send(vellora::HM_PROMPT_OUTPUT_ROOT), 1);
    EXPECT_EQ(host.outputRoot, "c:\\Out\\Doc");
    EXPECT_EQ(platform.dialogs[0].folder, "c:\\Out");
    EXPECT_EQ(platform.dialogs[0].fileName, "Doc");
}

using OpenProperties = HostBench;

TEST_F(OpenProperties, runs_the_program_from_the_driver_directory_and_waits) {
    int flagWhileRunning = -1;
    platform.whileProgramRuns = [&] { flagWhileRunning = host.launchInProgress; };
    EXPECT_EQ(Send(vellora::HM_OPEN_PROPERTIES), 0);
    EXPECT_EQ(
        platform.programsRun,
        std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\SPOOL\\DRIVERS\\W32X86\\VlExProp.exe"});
    EXPECT_EQ(flagWhileRunning, 1);
    EXPECT_EQ(host.launchInProgress, 0);
}

TEST_F(OpenProperties, no_second_copy_starts_while_one_runs_but_one_may_start_after_it) {
    std::int32_t nested = -1;
    platform.whileProgramRuns = [&] {
        platform.whileProgramRuns = nullptr;
        nested = Send(vellora::HM_OPEN_PROPERTIES);
    };
    Send(vellora::HM_OPEN_PROPERTIES);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(platform.programsRun.size(), 1u);
    Send(vellora::HM_OPEN_PROPERTIES);
    EXPECT_EQ(platform.programsRun.size(), 2u);
}

TEST_F(OpenProperties, an_unknown_driver_directory_starts_nothing) {
    platform.driverDirectoryKnown = false;
    EXPECT_EQ(Send(vellora::HM_OPEN_PROPERTIES), 0);
    EXPECT_TRUE(platform.programsRun.empty());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(host.launchInProgress, 0);
}

TEST_F(OpenProperties, a_path_too_long_for_the_platform_is_reported_and_nothing_starts) {
    // 246 + "\VlExProp.exe" = 259 characters still fit; one more does not.
    platform.driverDirectory = "C:\\" + std::string(243, 'd');
    Send(vellora::HM_OPEN_PROPERTIES);
    ASSERT_EQ(platform.programsRun.size(), 1u);
    EXPECT_EQ(platform.programsRun[0].size(), 259u);
    platform.driverDirectory += "d";
    EXPECT_EQ(Send(vellora::HM_OPEN_PROPERTIES), 0);
    EXPECT_EQ(platform.programsRun.size(), 1u);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              "The properties program could not be started because its path is too long:\n" +
                  platform.driverDirectory + "\\VlExProp.exe");
    EXPECT_EQ(platform.boxes[0].style, 0u);
    EXPECT_EQ(host.launchInProgress, 0);
}

TEST_F(OpenProperties, get_driver_file_path_joins_directory_and_name_with_one_backslash) {
    std::string path;
    ASSERT_TRUE(host.GetDriverFilePath("VelloraH.exe", path));
    EXPECT_EQ(path, "C:\\WINDOWS\\SYSTEM\\SPOOL\\DRIVERS\\W32X86\\VelloraH.exe");
}

// An integer atom reads "#5" and a missing one reads empty: taken as paths, they would reach the
// files "#5.tif" and ".tif" of whatever folder is current.
TEST_F(PlaceOutput, a_produced_path_that_is_no_full_path_of_a_plain_file_touches_no_file) {
    platform.AddFolders("c:\\Out");
    platform.AddFile("c:\\WINDOWS\\#5.tif", "a file of the user's");
    platform.AddFile("c:\\WINDOWS\\.tif", "a file of the user's");
    platform.AddFile("c:\\Out\\Doc.tif", "earlier");
    platform.atoms[5] = "#5";
    // 255 characters, one more than the host keeps: cut, they would name another file.
    const std::string longest = "c:\\Spool\\" + std::string(245, 'A') + "1";
    platform.AddFile(longest.substr(0, 254) + ".tif", "a file of the user's");
    const std::uintptr_t refused[] = {5,
                                      Atom(longest),
                                      0,
                                      0x10000u + Atom("c:\\Spool\\job1"),
                                      Atom("Spool\\job1"),
                                      Atom("c:\\Spool\\NUL"),
                                      Atom("\\\\.\\c:\\Spool\\job1"),
                                      Atom("c:\\Spool\\job1:x")};
    for (const std::uintptr_t wParam : refused) {
        SetRoot("c:\\Out\\");
        SetSuffix("Doc");
        platform.boxes.clear();
        EXPECT_EQ(Send(vellora::HM_PLACE_OUTPUT, wParam), 0) << wParam;
        ASSERT_EQ(platform.boxes.size(), 1u) << wParam;
        EXPECT_EQ(platform.boxes[0].text, "The file could not be renamed: File not found");
    }
    EXPECT_EQ(platform.files.calls, 0);
    platform.AddFolders("c:\\Spool\\dir.tif");
    EXPECT_EQ(Send(vellora::HM_PLACE_OUTPUT, Atom("c:\\Spool\\dir")), 0);
    EXPECT_EQ(platform.boxes.back().text, "The file could not be renamed: File not found");
    EXPECT_NE(platform.files.Find("c:\\Spool\\dir.tif"), nullptr);
    EXPECT_EQ(platform.FilePaths().size(), 4u);
}
