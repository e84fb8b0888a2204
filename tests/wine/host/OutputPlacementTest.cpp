// Moving produced files into place with the real host: the overwrite question and its answers,
// the save-file dialog after No, read-only targets, missing folders, other drives and another
// drive letter of the same volume.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace winetest;
using namespace hosttest;

namespace {

// The file's number on its volume, which a rename keeps and a copy does not; 0 when unknown.
ULONGLONG FileIndex(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION information = {};
    const bool known =
        file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return known ? (ULONGLONG{information.nFileIndexHigh} << 32) | information.nFileIndexLow : 0;
}

std::string Question(const std::string& target) {
    return "A file named\n" + target +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

class Placement : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(host.window, nullptr);
        out = FreshFolder("out");
        spool = FreshFolder("spool");
        target = out + "\\Doc.tif";
        ASSERT_EQ(SetOutputRoot(host.window, out + "\\"), 0);
        ASSERT_EQ(SetNameSuffix(host.window, "Doc"), 0);
    }
    std::string Produce(const std::string& name, const std::string& content) {
        const std::string path = spool + "\\" + name;
        WriteFileText(path + ".tif", content);
        return path;
    }

    RunningHost host;
    std::string out;
    std::string spool;
    std::string target;
};

} // namespace

TEST_F(Placement, an_existing_target_brings_the_question_with_the_full_path_and_yes_replaces_it) {
    WriteFileText(target, "old");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    HWND box = WaitForHostBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    for (int button : {IDYES, IDNO, IDCANCEL}) {
        EXPECT_NE(GetDlgItem(box, button), nullptr) << button;
    }
    EXPECT_EQ(AnswerHostBox(IDYES), Question(target));
    EXPECT_EQ(ResultOf(placed), 0);
    EXPECT_EQ(ReadFileText(target), "new");
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
}

TEST_F(Placement, cancel_at_the_question_keeps_the_target_and_discards_the_produced_file) {
    WriteFileText(target, "old");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(target));
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_EQ(ReadFileText(target), "old");
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
}

TEST_F(Placement, no_lets_the_user_choose_another_root_which_then_serves_later_files) {
    WriteFileText(target, "old");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    EXPECT_EQ(AnswerHostBox(IDNO), Question(target));
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), "");
    ChooseInSaveDialog(dialog, out + "\\Other");
    EXPECT_EQ(ResultOf(placed), 0);
    EXPECT_EQ(ReadFileText(target), "old");
    EXPECT_EQ(ReadFileText(out + "\\OtherDoc.tif"), "new");
    SetNameSuffix(host.window, "Next");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job2", "next")), 0);
    EXPECT_EQ(ReadFileText(out + "\\OtherNext.tif"), "next");
}

TEST_F(Placement, no_then_cancel_in_the_dialog_keeps_both_roots_and_discards_the_file) {
    WriteFileText(target, "old");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    AnswerHostBox(IDNO);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    CancelSaveDialog(dialog);
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_EQ(ReadFileText(target), "old");
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
    SetNameSuffix(host.window, "Doc2");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job2", "b")), 0);
    EXPECT_TRUE(FileExists(out + "\\Doc2.tif"));
}

TEST_F(Placement, yes_on_a_read_only_target_asks_again_until_no_or_cancel) {
    WriteFileText(target, "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    EXPECT_EQ(AnswerHostBox(IDYES), Question(target));
    EXPECT_EQ(AnswerHostBox(IDYES), Question(target));
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(target));
    // Cancel after a Yes is not passed on: the host discards the produced file all the same.
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_EQ(ReadFileText(target), "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Placement, a_missing_target_folder_is_a_bad_path_that_brings_the_question) {
    SetOutputRoot(host.window, out + "\\missing\\");
    SetNameSuffix(host.window, "Doc");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(out + "\\missing\\Doc.tif"));
    EXPECT_EQ(ResultOf(placed), 1);
}

TEST_F(Placement, a_file_moves_to_another_drive_with_its_last_write_time) {
    const std::string other = "E:\\moved";
    CreateDirectoryA(other.c_str(), nullptr);
    SetOutputRoot(host.window, other + "\\");
    SetNameSuffix(host.window, "Doc");
    const std::string produced = Produce("job1", "across");
    const FILETIME written = {0x5E3A0000, 0x01D0B6F2}; // 2015
    HANDLE file = CreateFileA((produced + ".tif").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    EXPECT_EQ(PlaceOutput(host.window, produced), 0);
    EXPECT_EQ(ReadFileText(other + "\\Doc.tif"), "across");
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
    WIN32_FILE_ATTRIBUTE_DATA placed;
    ASSERT_TRUE(
        GetFileAttributesExA((other + "\\Doc.tif").c_str(), GetFileExInfoStandard, &placed));
    EXPECT_EQ(CompareFileTime(&placed.ftLastWriteTime, &written), 0);
}

TEST_F(Placement, an_existing_target_on_another_drive_brings_the_question_too) {
    const std::string other = "E:\\taken";
    CreateDirectoryA(other.c_str(), nullptr);
    WriteFileText(other + "\\Doc.tif", "old");
    SetOutputRoot(host.window, other + "\\");
    SetNameSuffix(host.window, "Doc");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "across"));
    EXPECT_EQ(AnswerHostBox(IDYES), Question(other + "\\Doc.tif"));
    EXPECT_EQ(ResultOf(placed), 0);
    EXPECT_EQ(ReadFileText(other + "\\Doc.tif"), "across");
}

// Names a user may give copies of the print, and the first two names the host tries for its
// part, each longer than the print, as a host ended during a copy may leave them.
TEST_F(Placement, files_beside_a_target_on_another_drive_stay_whether_the_print_is_placed_or_not) {
    const std::string other = "E:\\beside";
    CreateDirectoryA(other.c_str(), nullptr);
    const std::vector<std::string> beside = {"Doc.ti-", "Doc.ti~", "Doc.tmp", "Doc.~00", "Doc.~01"};
    for (const std::string& name : beside) {
        WriteFileText(other + "\\" + name, "user's " + name);
    }
    SetOutputRoot(host.window, other + "\\");
    SetNameSuffix(host.window, "Doc");
    auto missing = PlaceOutputAsync(host.window, spool + "\\missing");
    EXPECT_EQ(AnswerHostBox(IDOK), "The file could not be renamed: File not found");
    EXPECT_EQ(ResultOf(missing), 0);
    EXPECT_EQ(FolderListing(other), beside);

    SetNameSuffix(host.window, "Doc");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "across")), 0);
    EXPECT_EQ(ReadFileText(other + "\\Doc.tif"), "across");
    std::vector<std::string> afterwards = beside;
    afterwards.push_back("Doc.tif");
    std::sort(afterwards.begin(), afterwards.end());
    EXPECT_EQ(FolderListing(other), afterwards);
    for (const std::string& name : beside) {
        EXPECT_EQ(ReadFileText(other + "\\" + name), "user's " + name);
    }
}

// The part's name is no longer than the target's, so a folder too long for a name of the
// system's own making still takes the print; after Yes the earlier print goes only then.
TEST_F(Placement, yes_places_a_print_across_drives_in_a_folder_of_247_characters) {
    const std::string folder = "E:\\" + std::string(243, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    WriteFileText(folder + "\\Doc.tif", "earlier print");
    SetOutputRoot(host.window, folder + "\\");
    SetNameSuffix(host.window, "Doc");
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new print"));
    EXPECT_EQ(AnswerHostBox(IDYES), Question(folder + "\\Doc.tif"));
    EXPECT_EQ(ResultOf(placed), 0);
    EXPECT_EQ(ReadFileText(folder + "\\Doc.tif"), "new print");
    EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"Doc.tif"});
}

// S: names the folder C:\vtest\subst, as a SUBST drive would (VELLORA_DRIVES). Windows NT
// renames the file there, so it keeps its file index; Windows 9x cannot tell that S: lies on
// the volume of C: and copies through a part.
TEST_F(Placement, a_second_drive_letter_of_the_same_volume_gets_a_rename_on_windows_nt) {
    const std::string subst = FreshFolder("subst");
    ASSERT_NE(GetDriveTypeA("S:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    SetOutputRoot(host.window, "S:\\");
    SetNameSuffix(host.window, "Doc");
    const std::string produced = Produce("job1", "same volume");
    const ULONGLONG producedIndex = FileIndex(produced + ".tif");
    ASSERT_NE(producedIndex, 0u);
    EXPECT_EQ(PlaceOutput(host.window, produced), 0);
    EXPECT_EQ(ReadFileText(subst + "\\Doc.tif"), "same volume");
    EXPECT_EQ(FolderListing(subst), std::vector<std::string>{"Doc.tif"});
    EXPECT_FALSE(FileExists(produced + ".tif"));
    const bool windowsNt = (GetVersion() & 0x80000000u) == 0;
    EXPECT_EQ(FileIndex("S:\\Doc.tif") == producedIndex, windowsNt);
}

// The produced file under another name: S:\job1.tif is C:\vtest\subst\job1.tif.
TEST_F(Placement, a_target_that_is_the_produced_file_itself_keeps_the_print_without_a_question) {
    const std::string subst = FreshFolder("subst");
    WriteFileText(subst + "\\job1.tif", "the only print");
    SetOutputRoot(host.window, "S:\\job1");
    SetNameSuffix(host.window, "000");
    EXPECT_EQ(PlaceOutput(host.window, subst + "\\job1"), 0);
    EXPECT_EQ(ReadFileText(subst + "\\job1.tif"), "the only print");
    EXPECT_EQ(FolderListing(subst), std::vector<std::string>{"job1.tif"});
}

TEST_F(Placement, a_target_named_as_a_device_brings_the_question_and_is_never_opened) {
    for (const std::string name : {"prn", "NUL ", "lpt1", "CONIN$", "clock$"}) {
        SetOutputRoot(host.window, out + "\\" + name);
        SetNameSuffix(host.window, "000");
        auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
        EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(out + "\\" + name + ".tif"));
        EXPECT_EQ(ResultOf(placed), 1) << name;
        EXPECT_TRUE(FolderListing(out).empty()) << name;
    }
}

// Windows 9x has no rename that replaces: the new print has taken a part's name by the time the
// earlier print refuses to go, and the box says where it is. Windows NT refuses the rename.
TEST_F(Placement, yes_on_an_earlier_print_held_open_keeps_both_prints) {
    WriteFileText(target, "old");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "new"));
    EXPECT_EQ(AnswerHostBox(IDYES), Question(target));
    const bool windowsNt = (GetVersion() & 0x80000000u) == 0;
    const std::string part = out + "\\Doc.~00";
    EXPECT_EQ(AnswerHostBox(windowsNt ? IDCANCEL : IDOK),
              windowsNt ? Question(target)
                        : "The file could not be renamed: An error occurred.\nThe new print is "
                          "kept as\n" +
                              part);
    EXPECT_EQ(ResultOf(placed), windowsNt ? 1 : 0);
    CloseHandle(held);
    EXPECT_EQ(ReadFileText(target), "old");
    if (!windowsNt) {
        EXPECT_EQ(ReadFileText(part), "new");
    }
}

// The first Yes was given for the earlier print, which the second print has replaced after its
// own Yes: the question comes again, about the second print.
TEST_F(Placement, a_yes_for_a_file_that_another_print_replaced_meanwhile_asks_again) {
    WriteFileText(target, "old");
    auto first = PlaceOutputAsync(host.window, Produce("job1", "first"));
    HWND firstBox = WaitForHostBox();
    ASSERT_NE(firstBox, nullptr);
    SetNameSuffix(host.window, "Doc");
    auto second = PlaceOutputAsync(host.window, Produce("job2", "second"));
    HWND secondBox = nullptr;
    WaitUntil([&] {
        for (HWND box : FindTopLevelWindows("#32770", vellora::kMessageCaption)) {
            secondBox = box != firstBox && IsWindowVisible(box) ? box : secondBox;
        }
        return secondBox != nullptr;
    });
    ASSERT_NE(secondBox, nullptr);
    PostMessageA(secondBox, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(ResultOf(second), 0);
    PostMessageA(firstBox, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitForWindowGone(firstBox));
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(target));
    EXPECT_EQ(ResultOf(first), 1);
    EXPECT_EQ(ReadFileText(target), "second");
}

TEST_F(Placement, a_second_job_is_placed_while_the_first_waits_at_its_question) {
    WriteFileText(target, "old");
    auto first = PlaceOutputAsync(host.window, Produce("job1", "first"));
    HWND box = WaitForHostBox();
    ASSERT_NE(box, nullptr);
    SetOutputRoot(host.window, out + "\\");
    SetNameSuffix(host.window, "Second");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job2", "second")), 0);
    EXPECT_EQ(ReadFileText(out + "\\Second.tif"), "second");
    EXPECT_EQ(AnswerHostBox(IDYES), Question(target));
    EXPECT_EQ(ResultOf(first), 0);
    EXPECT_EQ(ReadFileText(target), "first");
}
