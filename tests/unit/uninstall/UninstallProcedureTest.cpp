#include "UninstallProcedure.h"

#include "FakeUninstallPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using Calls = std::vector<std::string>;

const std::string kDriverDir = FakeUninstallPlatform::kDriverDirectory;
const std::string kHostFile = kDriverDir + "\\VelloraH.exe";
const std::string kSettingsFile =
    std::string(FakeUninstallPlatform::kWindowsDirectory) + "\\Vellora.ini";
const std::string kRunKey = "OpenKey Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A complete run's log but for its last line.
const std::string kFileLines = "Starting uninstall...\n"
                               "  Driver deleted...\n"
                               "Deleting driver files...\n"
                               "  VelloraH.exe deleted...\n"
                               "  Vellora.ini deleted...\n";
const std::string kSixLines = kFileLines + "Uninstallation finished.\n";

std::string RunOn(FakeUninstallPlatform& machine) {
    UninstallLog log;
    log.Set("text of an earlier run\n");
    RunUninstall(machine, log);
    return log.Text();
}

bool Called(const FakeUninstallPlatform& machine, const std::string& prefix) {
    return std::any_of(machine.calls.begin(), machine.calls.end(),
                       [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
}

// What a machine still holds of a complete installation, beside the program the procedure
// leaves alone.
void ExpectEverythingInPlace(const FakeUninstallPlatform& machine) {
    EXPECT_TRUE(machine.printerPresent);
    EXPECT_TRUE(machine.hostRunning);
    EXPECT_EQ(machine.files.size(), 6u);
    EXPECT_EQ(machine.folders.size(), 1u);
    EXPECT_TRUE(machine.startupValuePresent);
}

} // namespace

TEST(RunUninstall, complete_installation_is_removed_in_order_with_six_lines) {
    FakeUninstallPlatform machine;
    const std::string folder = machine.ProductFolder();
    EXPECT_EQ(RunOn(machine), kSixLines);
    const Calls expected = {"OpenPrinter Vellora 9x",
                            "DeletePrinter",
                            "ClosePrinter",
                            "FindWindow Quillmark_Invisble_Wnd VelloraHost",
                            "Post 1284",
                            "Wait 1000",
                            "DriverDirectory",
                            "DeleteFile " + kHostFile,
                            "WindowsDirectory",
                            "DeleteFile " + kSettingsFile,
                            "ShellFolder 2",
                            "DeleteFile " + folder + "Uninstall.lnk",
                            "Exists " + folder + "Uninstall.lnk",
                            "RemoveFolder " + folder,
                            "ShellFolder 2",
                            "DeleteFile " + folder + "UserManual.lnk",
                            "Exists " + folder + "UserManual.lnk",
                            "RemoveFolder " + folder,
                            "ShellFolder 2",
                            "DeleteFile " + folder + "Output directory.lnk",
                            "Exists " + folder + "Output directory.lnk",
                            "RemoveFolder " + folder,
                            kRunKey,
                            "QueryValue VelloraHost",
                            "CloseKey",
                            kRunKey,
                            "QueryValue VelloraHost",
                            "DeleteValue VelloraHost",
                            "CloseKey"};
    EXPECT_EQ(machine.calls, expected);
    EXPECT_FALSE(machine.printerPresent);
    EXPECT_FALSE(machine.hostRunning);
    EXPECT_EQ(machine.files, std::set<std::string>{kDriverDir + "\\VlExProp.exe"});
    EXPECT_TRUE(machine.folders.empty());
    EXPECT_FALSE(machine.startupValuePresent);
    EXPECT_EQ(machine.openPrinters, 0);
    EXPECT_EQ(machine.openKeys, 0);
}

TEST(PrinterGate, printer_that_cannot_be_opened_leaves_everything_in_place) {
    FakeUninstallPlatform machine;
    machine.printerPresent = false;
    machine.openError = -2;
    EXPECT_EQ(RunOn(machine), "Starting uninstall...\n"
                              "\tDriver can not be opened..., err - -2 \n"
                              "Uninstallation finished.\n");
    EXPECT_EQ(machine.calls, (Calls{"OpenPrinter Vellora 9x", "LastError"}));
    EXPECT_TRUE(machine.hostRunning);
    EXPECT_EQ(machine.files.size(), 6u);
    EXPECT_TRUE(machine.startupValuePresent);
}

TEST(PrinterGate, printer_that_cannot_be_deleted_is_closed_and_nothing_else_goes) {
    FakeUninstallPlatform machine;
    machine.printerDeletable = false;
    EXPECT_EQ(RunOn(machine), "Starting uninstall...\n"
                              "\tDriver uninstall failed..., err - 5 \n"
                              "Uninstallation finished.\n");
    EXPECT_EQ(machine.calls,
              (Calls{"OpenPrinter Vellora 9x", "DeletePrinter", "LastError", "ClosePrinter"}));
    EXPECT_EQ(machine.openPrinters, 0);
    ExpectEverythingInPlace(machine);
}

TEST(PrinterGate, failed_deletion_reports_its_own_code_not_the_closing_one) {
    FakeUninstallPlatform machine;
    machine.printerDeletable = false;
    machine.deleteError = 1905;
    machine.closeError = 6;
    UninstallLog log;
    EXPECT_FALSE(RemovePrinter(machine, log));
    EXPECT_STREQ(log.Text(), "\tDriver uninstall failed..., err - 1905 \n");
}

TEST(PrinterGate, deleted_printer_gives_one_line_and_true) {
    FakeUninstallPlatform machine;
    UninstallLog log;
    EXPECT_TRUE(RemovePrinter(machine, log));
    EXPECT_STREQ(log.Text(), "  Driver deleted...\n");
}

TEST(StopHost, host_not_running_gets_no_message_but_the_wait_still_happens) {
    FakeUninstallPlatform machine;
    machine.hostRunning = false;
    EXPECT_EQ(RunOn(machine), kSixLines);
    EXPECT_FALSE(Called(machine, "Post"));
    EXPECT_TRUE(Called(machine, "Wait 1000"));
    EXPECT_EQ(machine.files.count(kHostFile), 0u);
}

TEST(ProgramFiles, unknown_directories_delete_nothing_and_log_the_failures) {
    FakeUninstallPlatform machine;
    machine.driverDirectory = std::nullopt;
    machine.windowsDirectory = std::string();
    EXPECT_EQ(RunOn(machine), "Starting uninstall...\n"
                              "  Driver deleted...\n"
                              "Deleting driver files...\n"
                              "\tVelloraH.exe not deleted...\n"
                              "\tVellora.ini not deleted...\n"
                              "Uninstallation finished.\n");
    EXPECT_TRUE(machine.files.count(kHostFile));
    EXPECT_TRUE(machine.files.count(kSettingsFile));
    EXPECT_FALSE(Called(machine, "DeleteFile C:\\WINDOWS\\SYSTEM"));
    EXPECT_FALSE(Called(machine, "DeleteFile \\"));
    EXPECT_FALSE(Called(machine, "DeleteFile Vellora"));
    EXPECT_TRUE(machine.folders.empty());
    EXPECT_FALSE(machine.startupValuePresent);
}

TEST(ProgramFiles, path_that_would_not_fit_is_never_cut_short) {
    FakeUninstallPlatform machine;
    // With the backslash and "VelloraH.exe" the path would be 260 characters long.
    const std::string longFolder = "C:\\" + std::string(260 - 13 - 3, 'd');
    machine.driverDirectory = longFolder;
    machine.files.insert((longFolder + "\\VelloraH.exe").substr(0, 259));
    const std::string log = RunOn(machine);
    EXPECT_NE(log.find("\tVelloraH.exe not deleted...\n  Vellora.ini deleted...\n"),
              std::string::npos);
    EXPECT_FALSE(Called(machine, "DeleteFile " + longFolder));
    EXPECT_EQ(machine.files.count((longFolder + "\\VelloraH.exe").substr(0, 259)), 1u);
}

TEST(ProgramFiles, path_of_exactly_259_characters_is_used) {
    FakeUninstallPlatform machine;
    const std::string folder = "C:\\" + std::string(259 - 13 - 3, 'd');
    const std::string hostFile = folder + "\\VelloraH.exe";
    ASSERT_EQ(hostFile.size(), 259u);
    machine.files.insert(hostFile);
    EXPECT_TRUE(DeleteFileInFolder(machine, folder, "VelloraH.exe"));
    EXPECT_EQ(machine.files.count(hostFile), 0u);
}

TEST(StartMenu, folder_goes_at_the_first_attempt_at_which_it_is_empty) {
    FakeUninstallPlatform machine;
    machine.files.erase(machine.Shortcut("UserManual"));
    machine.files.erase(machine.Shortcut("Output directory"));
    UninstallLog log;
    RemoveStartMenuItems(machine, log);
    EXPECT_STREQ(log.Text(), "");
    EXPECT_TRUE(machine.folders.empty());
    const Calls firstAttempt = {"ShellFolder 2", "DeleteFile " + machine.Shortcut("Uninstall"),
                                "Exists " + machine.Shortcut("Uninstall"),
                                "RemoveFolder " + machine.ProductFolder()};
    EXPECT_EQ(Calls(machine.calls.begin(), machine.calls.begin() + 4), firstAttempt);
    // Each shortcut is looked for after its deletion.
    EXPECT_EQ(machine.calls.size(), 12u);
}

TEST(StartMenu, unresolved_programs_folder_skips_the_shortcuts_only) {
    FakeUninstallPlatform machine;
    const std::string shortcut = machine.Shortcut("Uninstall");
    machine.programsFolder = std::nullopt;
    EXPECT_EQ(RemoveShortcut(machine, "Vellora 9x", "Uninstall"), ShortcutOutcome::FolderUnknown);
    machine.calls.clear();
    EXPECT_EQ(RunOn(machine), kSixLines);
    EXPECT_EQ(std::count(machine.calls.begin(), machine.calls.end(), "ShellFolder 2"), 3);
    EXPECT_FALSE(Called(machine, "RemoveFolder"));
    EXPECT_EQ(machine.files.count(shortcut), 1u);
    EXPECT_FALSE(machine.startupValuePresent);
}

TEST(StartMenu, programs_folder_too_long_for_the_product_folder_touches_nothing) {
    FakeUninstallPlatform machine;
    machine.programsFolder = "C:\\" + std::string(245, 'p');
    EXPECT_EQ(RemoveShortcut(machine, "Vellora 9x", "Uninstall"), ShortcutOutcome::Gone);
    EXPECT_EQ(machine.calls, Calls{"ShellFolder 2"});
}

TEST(StartMenu, shortcut_path_too_long_removes_only_the_product_folder) {
    FakeUninstallPlatform machine;
    // The product folder takes 252 characters; "Uninstall.lnk" after it would make 265.
    machine.programsFolder = "C:\\" + std::string(237, 'p');
    EXPECT_EQ(RemoveShortcut(machine, "Vellora 9x", "Uninstall"), ShortcutOutcome::Gone);
    EXPECT_EQ(machine.calls, (Calls{"ShellFolder 2", "RemoveFolder " + machine.ProductFolder()}));
}

TEST(StartMenu, special_folder_path_ends_in_a_backslash) {
    FakeUninstallPlatform machine;
    EXPECT_EQ(GetSpecialFolderPath(machine, kProgramsFolderId),
              std::string(FakeUninstallPlatform::kProgramsFolder) + "\\");
    EXPECT_EQ(GetSpecialFolderPath(machine, 7), std::nullopt);
    machine.programsFolder = std::string();
    EXPECT_EQ(GetSpecialFolderPath(machine, kProgramsFolderId), std::nullopt);
}

TEST(StartupEntry, key_that_cannot_be_opened_at_all_counts_as_no_value) {
    FakeUninstallPlatform machine;
    machine.runKeyOpens = false;
    machine.runKeyReadable = false;
    EXPECT_EQ(RunOn(machine), kSixLines);
    EXPECT_EQ(machine.calls.back(), "OpenKeyToRead " + kRunKey.substr(8));
    EXPECT_TRUE(machine.startupValuePresent);
}

// The lines of what stayed come before the last line.
TEST(WhatStayed, is_named_in_the_logs_failure_form_and_what_is_missing_is_no_failure) {
    struct Row {
        const char* what;
        void (*arrange)(FakeUninstallPlatform&);
        const char* lines;
    };
    const Row rows[] = {
        {"read-only shortcut",
         [](FakeUninstallPlatform& m) { m.undeletable.insert(m.Shortcut("Uninstall")); },
         "\tUninstall.lnk not deleted...\n"},
        {"shortcut held open with delete sharing",
         [](FakeUninstallPlatform& m) { m.heldOpen.insert(m.Shortcut("Output directory")); },
         "\tOutput directory.lnk not deleted...\n"},
        {"missing shortcut",
         [](FakeUninstallPlatform& m) { m.files.erase(m.Shortcut("UserManual")); }, ""},
        {"a file of the user's in the folder",
         [](FakeUninstallPlatform& m) { m.files.insert(m.ProductFolder() + "notes.txt"); }, ""},
        {"value that cannot be deleted",
         [](FakeUninstallPlatform& m) { m.startupValueDeletable = false; },
         "\tVelloraHost not deleted...\n"},
        {"key that opens only to read", [](FakeUninstallPlatform& m) { m.runKeyOpens = false; },
         "\tVelloraHost not deleted...\n"},
        {"key that opens only to read, without the value",
         [](FakeUninstallPlatform& m) {
             m.runKeyOpens = false;
             m.startupValuePresent = false;
         },
         ""},
    };
    for (const Row& row : rows) {
        FakeUninstallPlatform machine;
        row.arrange(machine);
        EXPECT_EQ(RunOn(machine), kFileLines + row.lines + "Uninstallation finished.\n")
            << row.what;
    }
}

TEST(LongestLog, is_149_characters_and_fits) {
    FakeUninstallPlatform machine;
    machine.files.clear();
    const std::string log = RunOn(machine);
    EXPECT_EQ(log, "Starting uninstall...\n"
                   "  Driver deleted...\n"
                   "Deleting driver files...\n"
                   "\tVelloraH.exe not deleted...\n"
                   "\tVellora.ini not deleted...\n"
                   "Uninstallation finished.\n");
    EXPECT_EQ(log.size(), 149u);
}
