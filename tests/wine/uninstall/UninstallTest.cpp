// The real uninstaller on a machine that the setup tool has installed, driven as a user would:
// its dialog found on the screen, OK or Cancel pressed, the log read from its box.
#include "Installation.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <gtest/gtest.h>

using namespace winetest;
using namespace installation;

namespace {

constexpr const char* kCaption = "Vellora 9x uninstall";
constexpr const char* kSixLines = "Starting uninstall...\n"
                                  "  Driver deleted...\n"
                                  "Deleting driver files...\n"
                                  "  VelloraH.exe deleted...\n"
                                  "  Vellora.ini deleted...\n"
                                  "Uninstallation finished.\n";
constexpr const char* kNoPrinter = "Starting uninstall...\n"
                                   "\tDriver can not be opened..., err - 1801 \n"
                                   "Uninstallation finished.\n";

// A run of Uninstall.exe with its dialog on the screen.
class Uninstaller {
  public:
    Uninstaller()
        : process("\"" + BinPath("Uninstall.exe") + "\""),
          dialog(WaitForWindow("#32770", kCaption, process.Id())) {}

    // Presses OK, answers the log box and returns its text; empty when no box appeared.
    std::string ConfirmAndReadLog() {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return AnswerLogBox();
    }

    // The box that the dialog owns, answered with its OK button.
    std::string AnswerLogBox() {
        HWND box = nullptr;
        WaitUntil([&] { return (box = LogBox()) != nullptr; });
        if (!box) {
            return std::string();
        }
        std::string text;
        WaitUntil([&] { return !(text = MessageBoxText(box)).empty(); }, 2000);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return text;
    }

    // Exit code once the process has ended; STILL_ACTIVE when it did not end in time.
    DWORD ExitCode() {
        process.WaitForExit();
        return process.ExitCode();
    }

    Process process;
    HWND dialog;

  private:
    HWND LogBox() const {
        for (HWND window : FindTopLevelWindows("#32770", kCaption, process.Id())) {
            if (GetWindow(window, GW_OWNER) == dialog) {
                return window;
            }
        }
        return nullptr;
    }
};

class UninstallTest : public ::testing::Test {
  protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override { RemoveEverything(); }

    static void Install(const std::string& options) {
        ASSERT_EQ(RunSetup("install " + options), 0) << options;
    }
};

void ExpectStartMenuGone() {
    for (const char* name : {"Uninstall", "UserManual", "Output directory"}) {
        EXPECT_FALSE(FileExists(Shortcut(name))) << name;
    }
    EXPECT_FALSE(FileExists(ProductFolder()));
}

void ExpectInstallationInPlace() {
    EXPECT_EQ(PrinterOpenError(), 0u);
    EXPECT_TRUE(FileExists(HostFile()));
    EXPECT_TRUE(FileExists(SettingsFile()));
    for (const char* name : {"Uninstall", "UserManual", "Output directory"}) {
        EXPECT_TRUE(FileExists(Shortcut(name))) << name;
    }
    EXPECT_TRUE(StartupValueExists());
}

} // namespace

TEST_F(UninstallTest, complete_installation_goes_with_six_lines_and_exit_code_1) {
    Install("--start-host");
    RunningHost host;
    ASSERT_TRUE(host.Found());
    Uninstaller uninstaller;
    ASSERT_NE(uninstaller.dialog, nullptr);
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    EXPECT_EQ(uninstaller.ExitCode(), 1u);
    EXPECT_EQ(PrinterOpenError(), 1801u);
    EXPECT_TRUE(host.Ended(0));
    EXPECT_FALSE(FileExists(HostFile()));
    EXPECT_FALSE(FileExists(SettingsFile()));
    ExpectStartMenuGone();
    EXPECT_FALSE(StartupValueExists());
    // The properties program is not among what the uninstaller removes.
    EXPECT_TRUE(FileExists(PropertiesFile()));
}

TEST_F(UninstallTest, a_window_of_another_program_named_like_the_host_gets_no_exit_request) {
    Install("--start-host");
    RunningHost host;
    // Made after the host's window, so that a search by the name alone finds this one first.
    HWND other = CreateWindowA("STATIC", "VelloraHost", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    EXPECT_TRUE(host.Ended(0));
    MSG posted;
    EXPECT_FALSE(PeekMessageA(&posted, other, vellora::HM_EXIT, vellora::HM_EXIT, PM_REMOVE));
    DestroyWindow(other);
}

TEST_F(UninstallTest, without_printer_three_lines_and_nothing_else_touched) {
    Install("--no-printer --start-host");
    RunningHost host;
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kNoPrinter);
    EXPECT_EQ(uninstaller.ExitCode(), 1u);
    EXPECT_FALSE(host.Ended(1500));
    EXPECT_TRUE(FileExists(HostFile()));
    EXPECT_TRUE(FileExists(SettingsFile()));
    for (const char* name : {"Uninstall", "UserManual", "Output directory"}) {
        EXPECT_TRUE(FileExists(Shortcut(name))) << name;
    }
    EXPECT_TRUE(StartupValueExists());
}

TEST_F(UninstallTest, second_run_finds_no_printer) {
    Install("");
    Uninstaller first;
    EXPECT_EQ(first.ConfirmAndReadLog(), kSixLines);
    EXPECT_EQ(first.ExitCode(), 1u);
    Uninstaller second;
    EXPECT_EQ(second.ConfirmAndReadLog(), kNoPrinter);
    EXPECT_EQ(second.ExitCode(), 1u);
}

TEST_F(UninstallTest, enter_runs_it_when_the_host_is_not_running) {
    Install("");
    Uninstaller uninstaller;
    ASSERT_NE(uninstaller.dialog, nullptr);
    // The dialog's own loop turns Enter into the default button, OK.
    PostMessageA(GetDlgItem(uninstaller.dialog, IDOK), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(uninstaller.AnswerLogBox(), kSixLines);
    EXPECT_EQ(uninstaller.ExitCode(), 1u);
    EXPECT_FALSE(FileExists(HostFile()));
    ExpectStartMenuGone();
}

TEST_F(UninstallTest, host_file_already_gone_is_logged_and_the_rest_removed) {
    Install("");
    ASSERT_TRUE(DeleteFileA(HostFile().c_str()));
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), "Starting uninstall...\n"
                                               "  Driver deleted...\n"
                                               "Deleting driver files...\n"
                                               "\tVelloraH.exe not deleted...\n"
                                               "  Vellora.ini deleted...\n"
                                               "Uninstallation finished.\n");
    EXPECT_FALSE(FileExists(SettingsFile()));
    ExpectStartMenuGone();
    EXPECT_FALSE(StartupValueExists());
}

TEST_F(UninstallTest, settings_file_already_gone_is_logged_and_the_rest_removed) {
    Install("--no-settings --start-host");
    RunningHost host;
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), "Starting uninstall...\n"
                                               "  Driver deleted...\n"
                                               "Deleting driver files...\n"
                                               "  VelloraH.exe deleted...\n"
                                               "\tVellora.ini not deleted...\n"
                                               "Uninstallation finished.\n");
    EXPECT_TRUE(host.Ended(0));
    ExpectStartMenuGone();
    EXPECT_FALSE(StartupValueExists());
}

TEST_F(UninstallTest, folder_holding_a_file_of_the_users_stays_with_that_file) {
    Install("");
    const std::string notes = ProductFolder() + "\\My notes.txt";
    ASSERT_TRUE(WriteFileText(notes, "mine"));
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    for (const char* name : {"Uninstall", "UserManual", "Output directory"}) {
        EXPECT_FALSE(FileExists(Shortcut(name))) << name;
    }
    EXPECT_EQ(ReadFileText(notes), "mine");
}

// One read-only, one held open by another program with delete sharing, which a deletion only
// marks.
TEST_F(UninstallTest, shortcuts_that_stay_are_named_and_keep_the_folder) {
    Install("");
    // The shell may still hold a shortcut it has just written for a moment.
    ASSERT_TRUE(WaitUntil([] {
        return SetFileAttributesA(Shortcut("Uninstall").c_str(), FILE_ATTRIBUTE_READONLY) != 0;
    }));
    const HANDLE held = CreateFileA(Shortcut("Output directory").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string named = kSixLines;
    named.insert(named.rfind("Uninstallation"),
                 "\tUninstall.lnk not deleted...\n\tOutput directory.lnk not deleted...\n");
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), named);
    CloseHandle(held);
    EXPECT_TRUE(FileExists(Shortcut("Uninstall")));
    EXPECT_FALSE(FileExists(Shortcut("UserManual")));
    EXPECT_TRUE(FileExists(ProductFolder()));
    EXPECT_FALSE(StartupValueExists());
}

TEST_F(UninstallTest, only_some_shortcuts_present_are_removed_with_the_folder) {
    Install("");
    // The shell may still hold a shortcut it has just written for a moment.
    for (const char* name : {"Uninstall", "Output directory"}) {
        ASSERT_TRUE(WaitUntil([&] { return DeleteFileA(Shortcut(name).c_str()) != FALSE; }))
            << name;
    }
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    ExpectStartMenuGone();
}

TEST_F(UninstallTest, absent_startup_value_and_other_programs_values_are_left_alone) {
    Install("--no-startup");
    ASSERT_TRUE(WriteStartupValue("OtherProgram", "C:\\other.exe"));
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    EXPECT_FALSE(StartupValueExists());
    EXPECT_TRUE(StartupValueExists("OtherProgram"));
}

TEST_F(UninstallTest, startup_value_longer_than_its_buffer_is_removed_too) {
    Install("");
    ASSERT_TRUE(WriteStartupValue("VelloraHost", "C:\\" + std::string(400, 'v') + ".exe"));
    Uninstaller uninstaller;
    EXPECT_EQ(uninstaller.ConfirmAndReadLog(), kSixLines);
    EXPECT_FALSE(StartupValueExists());
}

TEST_F(UninstallTest, cancel_escape_and_close_box_change_nothing) {
    Install("--start-host");
    RunningHost host;
    const auto cancelButton = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
    const auto escapeKey = [](HWND dialog) {
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    const auto closeBox = [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
    for (void (*close)(HWND) : {+cancelButton, +escapeKey, +closeBox}) {
        Uninstaller uninstaller;
        ASSERT_NE(uninstaller.dialog, nullptr);
        close(uninstaller.dialog);
        EXPECT_EQ(uninstaller.ExitCode(), 0u);
        EXPECT_TRUE(FindTopLevelWindows("#32770", kCaption).empty());
    }
    ExpectInstallationInPlace();
    EXPECT_FALSE(host.Ended(0));
}
