// The properties dialog as a user works it, and the settings file it leaves behind.
#include "PropertiesProgram.h"

#include <gtest/gtest.h>

using namespace winetest;

namespace {

// Control IDs, as the dialog template has them.
constexpr int kNone = 1002, kRle = 1003, kLzw = 1004, kPathField = 1005, kPathLabel = 1006,
              kUseDefaultFilename = 1007, kFromFilenameDialog = 1009, kOneFilePerPage = 1011,
              kMultipageTiff = 1012;

std::vector<int> FilenameChoice(const PropertiesProgram& program) {
    return program.CheckedOf({kUseDefaultFilename, kFromFilenameDialog});
}
std::vector<int> CompressionChoice(const PropertiesProgram& program) {
    return program.CheckedOf({kNone, kRle, kLzw});
}
std::vector<int> MultipageChoice(const PropertiesProgram& program) {
    return program.CheckedOf({kOneFilePerPage, kMultipageTiff});
}

const std::string kDefaultsWritten = "[Setup]\r\n"
                                     "PrintOnFilePrompt=OFF\r\n"
                                     "OutputPath=c:\\VelloraDoc\r\n"
                                     "CompressionType=2\r\n"
                                     "Multipage=1\r\n";

class PropertiesDialog : public testing::Test {
  protected:
    void SetUp() override { RemoveSettingsFile(); }
    void TearDown() override { RemoveSettingsFile(); }

    // Opens the dialog on a settings file with this section "Setup", confirms it with OK and
    // returns the section as written back.
    void ExpectShownAndWritten(const std::string& setup, std::vector<int> shown,
                               const std::string& written) {
        StoreSettingsFile("[Setup]\r\n" + setup);
        PropertiesProgram program;
        ASSERT_TRUE(program.Opened()) << setup;
        std::vector<int> checked = FilenameChoice(program);
        for (const auto& set : {CompressionChoice(program), MultipageChoice(program)}) {
            checked.insert(checked.end(), set.begin(), set.end());
        }
        EXPECT_EQ(checked, shown) << setup;
        program.Press(IDOK);
        ASSERT_TRUE(program.Ended()) << setup;
        EXPECT_EQ(SettingsFileText(), "[Setup]\r\n" + written) << setup;
    }
};

} // namespace

TEST_F(PropertiesDialog, without_settings_file_shows_the_defaults) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kUseDefaultFilename});
    EXPECT_TRUE(program.Enabled(kPathField));
    EXPECT_TRUE(program.Enabled(kPathLabel));
    EXPECT_EQ(program.Text(kPathField), "c:\\VelloraDoc");
    EXPECT_EQ(CompressionChoice(program), std::vector<int>{kLzw});
    EXPECT_EQ(MultipageChoice(program), std::vector<int>{kMultipageTiff});
    EXPECT_EQ(program.Focus(), program.Item(IDOK));
    program.Press(IDCANCEL);
    ASSERT_TRUE(program.Ended());
    EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(PropertiesDialog, prompt_ON_disables_path_field_and_label_which_still_show_the_path) {
    StoreSettingsFile("[Setup]\r\nPrintOnFilePrompt=ON\r\nOutputPath=d:\\Scans\\Doc\r\n");
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kFromFilenameDialog});
    EXPECT_FALSE(program.Enabled(kPathField));
    EXPECT_FALSE(program.Enabled(kPathLabel));
    EXPECT_EQ(program.Text(kPathField), "d:\\Scans\\Doc");
    EXPECT_EQ(program.Text(kPathLabel), "Default output path / filename root:");
}

TEST_F(PropertiesDialog, odd_values_are_shown_by_their_rules_and_written_back_normalised) {
    ExpectShownAndWritten("PrintOnFilePrompt=off\r\nCompressionType=12\r\nMultipage=256\r\n",
                          {kFromFilenameDialog, kNone, kOneFilePerPage},
                          "PrintOnFilePrompt=ON\r\nCompressionType=1\r\nMultipage=0\r\n"
                          "OutputPath=c:\\VelloraDoc\r\n");
    ExpectShownAndWritten("PrintOnFilePrompt=On\r\nCompressionType=5\r\nMultipage=2\r\n",
                          {kFromFilenameDialog, kLzw, kMultipageTiff},
                          "PrintOnFilePrompt=ON\r\nCompressionType=2\r\nMultipage=1\r\n"
                          "OutputPath=c:\\VelloraDoc\r\n");
    ExpectShownAndWritten("PrintOnFilePrompt=OFFx\r\nCompressionType=7\r\nMultipage=0\r\n",
                          {kUseDefaultFilename, kLzw, kOneFilePerPage},
                          "PrintOnFilePrompt=OFF\r\nCompressionType=2\r\nMultipage=0\r\n"
                          "OutputPath=c:\\VelloraDoc\r\n");
    ExpectShownAndWritten("CompressionType=a\r\n", {kUseDefaultFilename, kRle, kMultipageTiff},
                          "CompressionType=0\r\nPrintOnFilePrompt=OFF\r\n"
                          "OutputPath=c:\\VelloraDoc\r\nMultipage=1\r\n");
    ExpectShownAndWritten("CompressionType=-1\r\n", {kUseDefaultFilename, kRle, kMultipageTiff},
                          "CompressionType=0\r\nPrintOnFilePrompt=OFF\r\n"
                          "OutputPath=c:\\VelloraDoc\r\nMultipage=1\r\n");
}

TEST_F(PropertiesDialog, empty_text_values_show_their_defaults) {
    StoreSettingsFile(
        "[Setup]\r\nPrintOnFilePrompt=\r\nOutputPath=\r\nCompressionType=\r\nMultipage=1\r\n");
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kUseDefaultFilename});
    EXPECT_EQ(program.Text(kPathField), "c:\\VelloraDoc");
    EXPECT_EQ(CompressionChoice(program), std::vector<int>{kLzw});
}

TEST_F(PropertiesDialog, filename_buttons_switch_the_path_field_and_its_label) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    program.Click(kFromFilenameDialog);
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kFromFilenameDialog});
    EXPECT_FALSE(program.Enabled(kPathField));
    EXPECT_FALSE(program.Enabled(kPathLabel));
    program.Click(kFromFilenameDialog);
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kFromFilenameDialog});
    EXPECT_FALSE(program.Enabled(kPathField));
    program.Click(kUseDefaultFilename);
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kUseDefaultFilename});
    EXPECT_TRUE(program.Enabled(kPathField));
    EXPECT_TRUE(program.Enabled(kPathLabel));
    EXPECT_EQ(program.Text(kPathField), "c:\\VelloraDoc");
}

TEST_F(PropertiesDialog, each_set_of_radio_buttons_stays_exclusive) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    for (int id : {kNone, kRle, kLzw, kLzw, kRle, kNone, kNone}) {
        program.Click(id);
        EXPECT_EQ(CompressionChoice(program), std::vector<int>{id});
    }
    for (int id : {kOneFilePerPage, kOneFilePerPage, kMultipageTiff, kOneFilePerPage}) {
        program.Click(id);
        EXPECT_EQ(MultipageChoice(program), std::vector<int>{id});
    }
    EXPECT_EQ(FilenameChoice(program), std::vector<int>{kUseDefaultFilename});
}

TEST_F(PropertiesDialog, tab_moves_only_between_ok_cancel_and_the_path_field) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    // Clicked radio buttons take the focus but stay out of the tab order.
    program.Click(kRle);
    program.Click(kOneFilePerPage);
    ASSERT_EQ(program.Focus(), program.Item(kOneFilePerPage));
    for (int next : {IDOK, IDCANCEL, kPathField, IDOK}) {
        program.PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return program.Focus() == program.Item(next); })) << next;
    }
}

TEST_F(PropertiesDialog, ok_without_changes_creates_the_file_with_the_keys_in_order) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    program.Press(IDOK);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(SettingsFileText(), kDefaultsWritten);
}

TEST_F(PropertiesDialog, ok_keeps_foreign_sections_and_keys) {
    StoreSettingsFile("[Printer]\r\nName=Other\r\n"
                      "[Setup]\r\nColour=blue\r\nOutputPath=e:\\out\\\r\nMultipage=256\r\n"
                      "[Zebra]\r\nz=1\r\n");
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    program.Press(IDOK);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(SettingsFileText(), "[Printer]\r\nName=Other\r\n"
                                  "[Setup]\r\nColour=blue\r\nOutputPath=e:\\out\\\r\n"
                                  "Multipage=0\r\nPrintOnFilePrompt=OFF\r\nCompressionType=2\r\n"
                                  "[Zebra]\r\nz=1\r\n");
}

TEST_F(PropertiesDialog, ok_writes_the_choices_made_also_from_a_disabled_path_field) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    program.PastePathText("f:\\Faxes\\In");
    program.Click(kFromFilenameDialog);
    program.Click(kRle);
    program.Click(kOneFilePerPage);
    program.Press(IDOK);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(StoredSetting("Setup", "PrintOnFilePrompt"), "ON");
    EXPECT_EQ(StoredSetting("Setup", "OutputPath"), "f:\\Faxes\\In");
    EXPECT_EQ(StoredSetting("Setup", "CompressionType"), "0");
    EXPECT_EQ(StoredSetting("Setup", "Multipage"), "0");
}

TEST_F(PropertiesDialog, emptied_path_field_writes_an_empty_value_that_reads_as_the_default) {
    {
        PropertiesProgram program;
        ASSERT_TRUE(program.Opened());
        program.SetPathText("");
        program.Press(IDOK);
        ASSERT_TRUE(program.Ended());
    }
    EXPECT_NE(SettingsFileText().find("\r\nOutputPath=\r\n"), std::string::npos);
    PropertiesProgram reopened;
    ASSERT_TRUE(reopened.Opened());
    EXPECT_EQ(reopened.Text(kPathField), "c:\\VelloraDoc");
}

namespace {

// The field and the file hold the same text, its first whole characters within 259 bytes.
void ExpectLongPathCut(const std::string& longPath, std::size_t shownBytes) {
    const std::string cut = longPath.substr(0, shownBytes);
    StoreSettingsFile("[Setup]\r\nOutputPath=" + longPath + "\r\n");
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(program.Text(kPathField), cut);
    // Neither a user nor another program gets more into the field than the file keeps.
    program.PastePathText(longPath);
    EXPECT_EQ(program.Text(kPathField), cut);
    program.SetPathText(longPath + "q");
    EXPECT_EQ(program.Text(kPathField), cut);
    program.Press(IDOK);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(StoredSetting("Setup", "OutputPath"), cut);
}

} // namespace

TEST_F(PropertiesDialog, paths_longer_than_259_bytes_are_shown_and_written_cut_at_a_character) {
    ExpectLongPathCut("c:\\" + std::string(297, 'p'), 259);
    // 200 times "\x83\x5C", one character in code page 932: there 258 bytes are whole ones.
    std::string japanese = "c:\\x";
    while (japanese.size() < 404) {
        japanese += "\x83\x5C";
    }
    ExpectLongPathCut(japanese, GetACP() == 932 ? 258 : 259);
}

TEST_F(PropertiesDialog, control_characters_never_reach_the_path_field_nor_the_file) {
    for (const char* separator : {"\r", "\n", "\t\x1f"}) {
        const std::string injected =
            std::string("c:\\x") + separator + "[Driver]" + separator + "Keep=0";
        for (bool pasted : {true, false}) {
            StoreSettingsFile("[Setup]\r\nOutputPath=x\r\n[Driver]\r\nKeep=1\r\n");
            PropertiesProgram program;
            ASSERT_TRUE(program.Opened());
            pasted ? program.PastePathText(injected) : program.SetPathText(injected);
            EXPECT_EQ(program.Text(kPathField), "c:\\x[Driver]Keep=0");
            program.Press(IDOK);
            ASSERT_TRUE(program.Ended());
            EXPECT_EQ(SettingsFileText(),
                      "[Setup]\r\nOutputPath=c:\\x[Driver]Keep=0\r\nPrintOnFilePrompt=OFF\r\n"
                      "CompressionType=2\r\nMultipage=1\r\n[Driver]\r\nKeep=1\r\n");
        }
    }
}

// The file gives a path back without spaces or quotation marks around it: the field shows it so
// once the user leaves it, and OK writes that, also after Enter in the field.
TEST_F(PropertiesDialog, spaces_and_quotation_marks_around_the_path_go_as_the_file_drops_them) {
    const std::pair<std::string, std::string> rows[] = {
        {" c:\\My Scans\\Doc  ", "c:\\My Scans\\Doc"},
        {"\" c:\\x \"", "c:\\x"},
    };
    for (const auto& [pasted, read] : rows) {
        for (bool leaveField : {true, false}) {
            PropertiesProgram program;
            ASSERT_TRUE(program.Opened());
            program.ClickInto(kPathField);
            ASSERT_TRUE(WaitUntil([&] { return program.Focus() == program.Item(kPathField); }));
            program.PastePathText(pasted);
            EXPECT_EQ(program.Text(kPathField), pasted);
            if (leaveField) {
                program.PressKey(VK_TAB);
                EXPECT_TRUE(WaitUntil([&] { return program.Text(kPathField) == read; })) << pasted;
                program.Press(IDOK);
            } else {
                program.PressKey(VK_RETURN);
            }
            ASSERT_TRUE(program.Ended());
            EXPECT_NE(SettingsFileText().find("\r\nOutputPath=" + read + "\r\n"),
                      std::string::npos);
        }
    }
}

// Set by a Unicode program or typed: the field holds what OK writes, read back as Unicode.
TEST_F(PropertiesDialog, path_field_drops_characters_that_the_code_page_cannot_write) {
    // Zhe, a Chinese character and e acute: code page 932 writes only the first, 1252 the last.
    const std::wstring foreign = L"c:\\\x0416\x4E02\x00E9";
    const std::wstring kept = GetACP() == 932 ? L"c:\\\x0416" : L"c:\\\x00E9";
    for (bool typing : {false, true}) {
        PropertiesProgram program;
        ASSERT_TRUE(program.Opened());
        // As SendMessageW sends it, and as a Unicode keyboard layout types it.
        SendMessageTimeoutW(program.Item(kPathField), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(typing ? L"" : foreign.c_str()), SMTO_NORMAL,
                            kDefaultTimeoutMs, nullptr);
        for (wchar_t character : typing ? foreign + L"x" : std::wstring()) {
            PostMessageW(program.Item(kPathField), WM_CHAR, character, 1);
        }
        std::wstring held;
        EXPECT_TRUE(WaitUntil([&] {
            return (held = program.UnicodeText(kPathField)) == (typing ? kept + L"x" : kept);
        }));
        program.Press(IDOK);
        ASSERT_TRUE(program.Ended());
        wchar_t written[1024];
        const std::string stored = StoredSetting("Setup", "OutputPath");
        MultiByteToWideChar(CP_ACP, 0, stored.c_str(), -1, written, 1024);
        EXPECT_EQ(written, held);
    }
}

TEST_F(PropertiesDialog, typed_path_and_enter_confirm) {
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    program.SetPathText("");
    program.ClickInto(kPathField);
    ASSERT_TRUE(WaitUntil([&] { return program.Focus() == program.Item(kPathField); }));
    for (char character : std::string("g:\\Out")) {
        program.TypeCharacter(character);
    }
    ASSERT_TRUE(WaitUntil([&] { return program.Text(kPathField) == "g:\\Out"; }));
    program.PressKey(VK_RETURN);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(StoredSetting("Setup", "OutputPath"), "g:\\Out");
}

TEST_F(PropertiesDialog, cancel_escape_and_the_access_key_write_nothing) {
    const std::string stored = "[Setup]\r\nPrintOnFilePrompt=ON\r\nCompressionType=0\r\n";
    StoreSettingsFile(stored);
    for (int way = 0; way < 3; ++way) {
        PropertiesProgram program;
        ASSERT_TRUE(program.Opened());
        program.Click(kUseDefaultFilename);
        program.Click(kLzw);
        program.SetPathText("h:\\elsewhere");
        if (way == 0) {
            program.Press(IDCANCEL);
        } else if (way == 1) {
            program.PressKey(VK_ESCAPE);
        } else {
            program.TypeCharacter('c');
        }
        ASSERT_TRUE(program.Ended()) << way;
        EXPECT_EQ(SettingsFileText(), stored) << way;
    }
}

TEST_F(PropertiesDialog, unwritable_file_gives_one_box_per_key_and_the_dialog_still_closes) {
    const std::string stored = "[Setup]\r\nOutputPath=d:\\kept\r\n";
    StoreSettingsFile(stored);
    // Held open without write sharing: every write of the program fails.
    HANDLE held = CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(program.Text(kPathField), "d:\\kept");
    program.Press(IDOK);
    for (int box = 0; box < 4; ++box) {
        HWND shown = WaitForDialog("Vellora 9x");
        ASSERT_NE(shown, nullptr) << box;
        ASSERT_TRUE(WaitUntil([&] { return !MessageBoxText(shown).empty(); }));
        EXPECT_NE(GetDlgItem(shown, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(shown, IDCANCEL), nullptr);
        EXPECT_EQ(AnswerMessageBox("Vellora 9x", IDOK), "Error writing string to INI file.") << box;
    }
    EXPECT_TRUE(program.Ended());
    CloseHandle(held);
    EXPECT_EQ(SettingsFileText(), stored);
}

TEST_F(PropertiesDialog, a_choice_changed_while_a_write_error_shows_is_the_one_written) {
    StoreSettingsFile("[Setup]\r\nOutputPath=d:\\kept\r\n");
    HANDLE held = CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PropertiesProgram program;
    ASSERT_TRUE(program.Opened());
    EXPECT_EQ(CompressionChoice(program), std::vector<int>{kLzw});
    program.Press(IDOK);
    // The first key's box is open: the file is free again and the user picks another choice.
    ASSERT_NE(WaitForDialog("Vellora 9x"), nullptr);
    CloseHandle(held);
    program.Click(kNone);
    EXPECT_EQ(AnswerMessageBox("Vellora 9x", IDOK), "Error writing string to INI file.");
    EXPECT_TRUE(program.Ended());
    EXPECT_EQ(SettingsFileText(),
              "[Setup]\r\nOutputPath=d:\\kept\r\nCompressionType=1\r\nMultipage=1\r\n");
}
