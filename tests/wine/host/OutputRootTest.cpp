// The output root requests 1285 and 1286 with the real save-file dialog.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

using namespace winetest;
using namespace hosttest;

namespace {

class OutputRoot : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(host.window, nullptr);
        out = FreshFolder("out");
        spool = FreshFolder("spool");
    }

    RunningHost host;
    std::string out;
    std::string spool;
};

} // namespace

TEST_F(OutputRoot, a_rejected_root_opens_the_dialog_on_the_fallback_root) {
    auto request = SetOutputRootAsync(host.window, out + "\\a|b");
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "Vellora 9x");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), "VelloraDoc");
    CancelSaveDialog(dialog);
    EXPECT_EQ(ResultOf(request), 1);
    EXPECT_TRUE(PlacedAt(host.window, spool, "001", "c:\\VelloraDoc001.tif"));
}

TEST_F(OutputRoot, an_empty_root_opens_the_dialog_and_the_chosen_name_becomes_the_root) {
    auto request = SetOutputRootAsync(host.window, "");
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), "");
    ChooseInSaveDialog(dialog, out + "\\Report");
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", out + "\\Report.tif"));
}

TEST_F(OutputRoot, prompt_opens_the_dialog_on_the_root_and_returns_0_for_a_chosen_name) {
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\Draft"), 0);
    auto request = SendRequestAsync(host.window, vellora::HM_PROMPT_OUTPUT_ROOT);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog), "Draft");
    // A relative name is taken in the folder that the dialog shows.
    ChooseInSaveDialog(dialog, "Final");
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "X", out + "\\FinalX.tif"));
}

TEST_F(OutputRoot, prompt_cancelled_returns_1_and_keeps_the_root) {
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\Draft"), 0);
    auto request = SendRequestAsync(host.window, vellora::HM_PROMPT_OUTPUT_ROOT);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    CancelSaveDialog(dialog);
    EXPECT_EQ(ResultOf(request), 1);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", out + "\\Draft.tif"));
}

TEST_F(OutputRoot, a_chosen_name_gets_no_extension_so_a_chosen_tif_file_doubles_it) {
    WriteFileText(out + "\\Report.tif", "listed");
    auto request = SendRequestAsync(host.window, vellora::HM_PROMPT_OUTPUT_ROOT);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    ChooseInSaveDialog(dialog, out + "\\Report.tif");
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", out + "\\Report.tif.tif"));
    EXPECT_EQ(ReadFileText(out + "\\Report.tif"), "listed");
}

TEST_F(OutputRoot, a_chosen_name_too_long_for_a_path_is_refused_and_asked_for_again) {
    auto request = SendRequestAsync(host.window, vellora::HM_PROMPT_OUTPUT_ROOT);
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    ChooseInSaveDialog(dialog, out + "\\" + std::string(250, 'n'));
    EXPECT_EQ(AnswerHostBox(IDOK),
              "The chosen name is too long: a path may hold at most 259 characters.\n"
              "Please choose a shorter name.");
    dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr);
    ChooseInSaveDialog(dialog, out + "\\Short");
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_TRUE(PlacedAt(host.window, spool, "000", out + "\\Short.tif"));
}
