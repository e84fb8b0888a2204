// The real host on a Japanese system, ANSI code page 932, where the second byte of a two-byte
// character can be the byte of "\" or "|": such paths are the user's valid folders and names,
// kept as given, shown whole in the save-file dialog and in the overwrite question. Wine takes
// the code page from the Unix locale: the test runs with LC_ALL=ja_JP.UTF-8, and the host it
// starts inherits it.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

using namespace winetest;
using namespace hosttest;

namespace {

// Shift-JIS texts as escaped bytes.
const std::string kSo = "\x83\x5C";                             // "ソ"
const std::string kSoftware = "\x83\x5C\x83\x74\x83\x67";       // "ソフト"
const std::string kReport = "\x83\x8C\x83\x7C\x81\x5B\x83\x67"; // "レポート", "ポ" is 0x83 0x7C

std::string Question(const std::string& target) {
    return "A file named\n" + target +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

class JapaneseCodePage : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the test runs with LC_ALL=ja_JP.UTF-8";
        ASSERT_NE(host.window, nullptr);
        out = FreshFolder("out");
        spool = FreshFolder("spool");
    }
    // A folder under `out`; creating it fails when the system has no Japanese locale.
    std::string Folder(const std::string& name) {
        const std::string path = out + "\\" + name;
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << GetLastError();
        return path;
    }

    RunningHost host;
    std::string out;
    std::string spool;
};

} // namespace

TEST_F(JapaneseCodePage, a_root_with_a_bar_as_second_byte_is_kept_without_a_dialog) {
    const std::string report = Folder(kReport);
    EXPECT_EQ(SetOutputRoot(host.window, report + "\\"), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "Doc", report + "\\Doc.tif"));
}

TEST_F(JapaneseCodePage, a_root_with_backslashes_as_second_bytes_is_kept_without_a_dialog) {
    const std::string so = Folder(kSo);
    EXPECT_EQ(SetOutputRoot(host.window, so + "\\" + kSoftware), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", so + "\\" + kSoftware + ".tif"));
}

TEST_F(JapaneseCodePage, the_dialog_opens_on_the_roots_folder_with_its_whole_last_name) {
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\" + kSoftware), 0);
    auto request = SendRequestAsync(host.window, vellora::HM_PROMPT_OUTPUT_ROOT);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), kSoftware);
    // A relative name is taken in the folder that the dialog shows.
    ChooseInSaveDialog(dialog, "Final");
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", out + "\\Final.tif"));
}

TEST_F(JapaneseCodePage, the_overwrite_question_holds_the_whole_japanese_target_path) {
    const std::string target = Folder(kReport) + "\\" + kSoftware + ".tif";
    WriteFileText(target, "old");
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\" + kReport + "\\"), 0);
    SetNameSuffix(host.window, kSoftware);
    WriteFileText(spool + "\\job.tif", "new");
    auto placed = PlaceOutputAsync(host.window, spool + "\\job");
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(target));
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_EQ(ReadFileText(target), "old");
}

TEST_F(JapaneseCodePage, a_real_bar_after_a_two_byte_character_brings_the_fallback_root) {
    auto request = SetOutputRootAsync(host.window, out + "\\" + kSo + "|");
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), "VelloraDoc");
    CancelSaveDialog(dialog);
    EXPECT_EQ(ResultOf(request), 1);
    EXPECT_TRUE(PlacedAt(host.window, spool, "001", "c:\\VelloraDoc001.tif"));
}
