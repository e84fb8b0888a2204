// The driver's requests 1280, 1281 and 1286 as the real host answers them: atoms, target names
// and the files on disk.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

using namespace winetest;
using namespace hosttest;

namespace {

// A host with a fresh output folder and a spool folder holding the produced files.
class Requests : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(host.window, nullptr);
        out = FreshFolder("out");
        spool = FreshFolder("spool");
    }
    // The driver has written the produced file; its path without ".tif".
    std::string Produce(const std::string& name, const std::string& content) {
        const std::string path = spool + "\\" + name;
        WriteFileText(path + ".tif", content);
        return path;
    }

    RunningHost host;
    std::string out;
    std::string spool;
};

} // namespace

TEST_F(Requests, root_with_backslash_and_suffix_name_the_target_in_that_folder) {
    EXPECT_EQ(SetOutputRoot(host.window, out + "\\"), 0);
    EXPECT_EQ(SetNameSuffix(host.window, "Doc"), 0);
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "page one")), 0);
    EXPECT_EQ(ReadFileText(out + "\\Doc.tif"), "page one");
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
}

TEST_F(Requests, root_without_backslash_begins_the_file_name) {
    SetOutputRoot(host.window, out);
    SetNameSuffix(host.window, "Doc");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "page one")), 0);
    EXPECT_EQ(ReadFileText(out + "Doc.tif"), "page one");
}

TEST_F(Requests, suffix_000_means_no_suffix) {
    SetOutputRoot(host.window, out + "\\Report");
    SetNameSuffix(host.window, "000");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "a")), 0);
    EXPECT_TRUE(FileExists(out + "\\Report.tif"));
    SetNameSuffix(host.window, "0000");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job2", "b")), 0);
    EXPECT_TRUE(FileExists(out + "\\Report0000.tif"));
}

TEST_F(Requests, space_codes_in_the_root_become_spaces) {
    CreateDirectoryA((out + "\\My Files").c_str(), nullptr);
    EXPECT_EQ(SetOutputRoot(host.window, out + "\\My%20Files\\"), 0);
    SetNameSuffix(host.window, "Doc");
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "a")), 0);
    EXPECT_TRUE(FileExists(out + "\\My Files\\Doc.tif"));
}

TEST_F(Requests, a_second_placement_without_new_suffix_appends_tif_again) {
    SetOutputRoot(host.window, out + "\\");
    SetNameSuffix(host.window, "Doc");
    PlaceOutput(host.window, Produce("job1", "first"));
    EXPECT_EQ(PlaceOutput(host.window, Produce("job2", "second")), 0);
    EXPECT_EQ(ReadFileText(out + "\\Doc.tif"), "first");
    EXPECT_EQ(ReadFileText(out + "\\Doc.tif.tif"), "second");
}

TEST_F(Requests, the_host_deletes_the_atoms_of_root_and_suffix_and_keeps_that_of_the_file) {
    CreateDirectoryA((out + "\\unique-root").c_str(), nullptr);
    const ATOM root = AddGlobalAtom(out + "\\unique-root\\");
    const ATOM suffix = AddGlobalAtom("unique-suffix");
    const ATOM produced = AddGlobalAtom(Produce("job1", "a"));
    EXPECT_EQ(SendWithDeadline(host.window, vellora::HM_SET_OUTPUT_ROOT, root, 0), 0);
    EXPECT_EQ(SendWithDeadline(host.window, vellora::HM_SET_NAME_SUFFIX, suffix, 0), 0);
    SendWithDeadline(host.window, vellora::HM_PLACE_OUTPUT, produced, 0);
    EXPECT_FALSE(AtomExists(root));
    EXPECT_FALSE(AtomExists(suffix));
    EXPECT_TRUE(AtomExists(produced));
    GlobalDeleteAtom(produced);
}

TEST_F(Requests, an_atom_that_names_nothing_reads_as_empty_text) {
    SetOutputRoot(host.window, out + "\\Root");
    const ATOM gone = AddGlobalAtom("gone-suffix");
    GlobalDeleteAtom(gone);
    ASSERT_FALSE(AtomExists(gone));
    EXPECT_EQ(SendWithDeadline(host.window, vellora::HM_SET_NAME_SUFFIX, gone, 0), 0);
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "a")), 0);
    EXPECT_TRUE(FileExists(out + "\\Root.tif"));
}

TEST_F(Requests, a_missing_produced_file_shows_file_not_found_and_returns_0) {
    SetOutputRoot(host.window, out + "\\");
    SetNameSuffix(host.window, "Doc");
    auto placed = PlaceOutputAsync(host.window, spool + "\\never-written");
    HWND box = WaitForHostBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDYES), nullptr);
    EXPECT_EQ(AnswerHostBox(IDOK), "The file could not be renamed: File not found");
    EXPECT_EQ(ResultOf(placed), 0);
    EXPECT_FALSE(FileExists(out + "\\Doc.tif"));
}

// An integer atom reads "#5" and no atom reads empty: taken as paths they would reach "#5.tif"
// and ".tif" in the host's current folder, which it has from this test.
TEST_F(Requests, a_1281_that_names_no_full_path_in_a_string_atom_touches_no_file) {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(current), current);
    SetOutputRoot(host.window, out + "\\");
    for (const WPARAM wParam : {WPARAM{5}, WPARAM{0}}) {
        const std::string users = std::string(current) + (wParam == 5 ? "\\#5.tif" : "\\.tif");
        ASSERT_TRUE(WriteFileText(users, "a file of the user's"));
        SetNameSuffix(host.window, "Doc");
        auto placed = std::async(std::launch::async, [&] {
            return SendWithDeadline(host.window, vellora::HM_PLACE_OUTPUT, wParam, 0, 60000);
        });
        EXPECT_EQ(AnswerHostBox(IDCANCEL), "The file could not be renamed: File not found");
        EXPECT_EQ(placed.get(), 0);
        EXPECT_EQ(ReadFileText(users), "a file of the user's");
        EXPECT_TRUE(FolderListing(out).empty());
        DeleteFileA(users.c_str());
    }
}

// A folder is no produced file, and a path of 255 characters, one more than the host keeps, would
// name another file once cut.
TEST_F(Requests, a_1281_of_a_folder_or_of_a_path_too_long_to_keep_whole_touches_no_file) {
    const std::string longest = spool + "\\" + std::string(253 - spool.size(), 'A') + "1";
    const std::string users = longest.substr(0, 254) + ".tif";
    ASSERT_TRUE(WriteFileText(users, "a file of the user's"));
    ASSERT_TRUE(CreateDirectoryA((spool + "\\dir.tif").c_str(), nullptr));
    SetOutputRoot(host.window, out + "\\");
    for (const std::string& produced : {longest, spool + "\\dir"}) {
        SetNameSuffix(host.window, "Doc");
        auto placed = PlaceOutputAsync(host.window, produced);
        EXPECT_EQ(AnswerHostBox(IDOK), "The file could not be renamed: File not found");
        EXPECT_EQ(ResultOf(placed), 0);
    }
    EXPECT_EQ(ReadFileText(users), "a file of the user's");
    EXPECT_NE(GetFileAttributesA((spool + "\\dir.tif").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(FolderListing(out).empty());
}

// Each box's modal loop takes the next request, so a second box can open over the first; a user
// may still answer the first one first. Both requests must then come back.
TEST_F(Requests, a_box_answered_before_a_later_one_still_lets_its_request_return) {
    SetOutputRoot(host.window, out + "\\");
    SetNameSuffix(host.window, "Doc");
    auto first = PlaceOutputAsync(host.window, spool + "\\first-never-written");
    HWND firstBox = WaitForHostBox();
    ASSERT_NE(firstBox, nullptr);
    auto second = PlaceOutputAsync(host.window, spool + "\\second-never-written");
    HWND secondBox = nullptr;
    WaitUntil([&] {
        for (HWND box : FindTopLevelWindows("#32770", vellora::kMessageCaption)) {
            if (box != firstBox && IsWindowVisible(box)) {
                secondBox = box;
            }
        }
        return secondBox != nullptr;
    });
    ASSERT_NE(secondBox, nullptr);
    PostMessageA(firstBox, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindowVisible(firstBox); });
    PostMessageA(secondBox, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ResultOf(second), 0);
    EXPECT_EQ(ResultOf(first), 0);
    EXPECT_TRUE(WaitForWindowGone(firstBox));
}

TEST_F(Requests, a_suffix_of_255_characters_arrives_cut_to_254_and_a_target_too_long_is_refused) {
    SetOutputRoot(host.window, out + "\\");
    SetNameSuffix(host.window, std::string(254, 's') + "X");
    const std::string target = out + "\\" + std::string(254, 's') + ".tif";
    auto placed = PlaceOutputAsync(host.window, Produce("job1", "a"));
    // Such a target does not fit a path: the move fails as a bad path, which asks the question.
    EXPECT_EQ(AnswerHostBox(IDCANCEL),
              "A file named\n" + target +
                  "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may "
                  "choose a different name)");
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_FALSE(FileExists(spool + "\\job1.tif"));
}

TEST_F(Requests, lparam_and_unknown_numbers_change_nothing) {
    SetOutputRoot(host.window, out + "\\");
    SendWithDeadline(host.window, vellora::HM_SET_NAME_SUFFIX, AddGlobalAtom("Doc"), 0x7FFFFFFF);
    EXPECT_EQ(SendWithDeadline(host.window, 1282, AddGlobalAtom("Other"), 0), 0);
    EXPECT_EQ(SendWithDeadline(host.window, 1283, AddGlobalAtom("Other"), 0), 0);
    EXPECT_EQ(PlaceOutput(host.window, Produce("job1", "a")), 0);
    EXPECT_TRUE(FileExists(out + "\\Doc.tif"));
}
