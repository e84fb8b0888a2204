// VlSetup.exe makes a real installation that the uninstaller and the demo can work on.
#include "Installation.h"
#include "WineTest.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace winetest;
using namespace installation;

namespace {

class SetupToolTest : public ::testing::Test {
  protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override { RemoveEverything(); }
};

std::string Setting(const char* key) {
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA("Setup", key, "(missing)", value, sizeof(value),
                             SettingsFile().c_str());
    return value;
}

std::string StartupValueData() {
    char data[MAX_PATH] = "";
    DWORD size = sizeof(data);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "VelloraHost", nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                         &size);
        RegCloseKey(key);
    }
    return data;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ProgramOfWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    char path[MAX_PATH] = "";
    DWORD size = sizeof(path);
    if (process) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

} // namespace

TEST_F(SetupToolTest, install_creates_every_item_of_an_installation) {
    ASSERT_EQ(RunSetup("install"), 0);
    EXPECT_EQ(PrinterOpenError(), 0u);
    EXPECT_EQ(ReadFileText(HostFile()), ReadFileText(BinPath("VelloraH.exe")));
    EXPECT_EQ(ReadFileText(PropertiesFile()), ReadFileText(BinPath("VlExProp.exe")));
    EXPECT_EQ(Setting("PrintOnFilePrompt"), "OFF");
    EXPECT_EQ(Setting("OutputPath"), "c:\\VelloraDoc");
    EXPECT_EQ(Setting("CompressionType"), "2");
    EXPECT_EQ(Setting("Multipage"), "1");
    EXPECT_EQ(StartupValueData(), HostFile());
    EXPECT_EQ(Lower(ShortcutTarget(Shortcut("Uninstall"))), Lower(BinPath("Uninstall.exe")));
    EXPECT_NE(ShortcutTarget(Shortcut("UserManual")), "");
    EXPECT_EQ(Lower(ShortcutTarget(Shortcut("Output directory"))), "c:\\velloradoc");
    EXPECT_TRUE(FindTopLevelWindows(nullptr, "VelloraHost").empty());
}

TEST_F(SetupToolTest, install_again_keeps_the_printer_and_succeeds) {
    ASSERT_EQ(RunSetup("install"), 0);
    EXPECT_EQ(RunSetup("install"), 0);
    EXPECT_EQ(PrinterOpenError(), 0u);
}

TEST_F(SetupToolTest, options_leave_out_items) {
    ASSERT_EQ(RunSetup("install --no-printer --no-settings --no-startup --no-shortcuts"), 0);
    EXPECT_EQ(PrinterOpenError(), 1801u);
    EXPECT_TRUE(FileExists(HostFile()));
    EXPECT_TRUE(FileExists(PropertiesFile()));
    EXPECT_FALSE(FileExists(SettingsFile()));
    EXPECT_FALSE(StartupValueExists());
    EXPECT_FALSE(FileExists(ProductFolder()));
}

TEST_F(SetupToolTest, start_host_runs_the_installed_host_once) {
    ASSERT_EQ(RunSetup("install --start-host"), 0);
    const auto hosts = FindTopLevelWindows("Quillmark_Invisble_Wnd", "VelloraHost");
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(Lower(ProgramOfWindow(hosts[0])), Lower(HostFile()));
    EXPECT_EQ(RunSetup("start-host"), 0);
    EXPECT_EQ(FindTopLevelWindows(nullptr, "VelloraHost").size(), 1u);
}

TEST_F(SetupToolTest, missing_programs_fail_the_install_but_the_rest_is_made) {
    const std::string empty = FreshFolder("no-programs");
    EXPECT_EQ(RunSetup("install --from \"" + empty + "\""), 1);
    EXPECT_FALSE(FileExists(HostFile()));
    EXPECT_EQ(PrinterOpenError(), 0u);
    EXPECT_TRUE(StartupValueExists());
    EXPECT_TRUE(FileExists(Shortcut("Output directory")));
}

TEST_F(SetupToolTest, command_line_errors_exit_with_2_and_change_nothing) {
    for (const char* arguments : {"", "remove", "install --everything", "install --from"}) {
        EXPECT_EQ(RunSetup(arguments), 2) << arguments;
    }
    EXPECT_FALSE(FileExists(HostFile()));
    EXPECT_EQ(PrinterOpenError(), 1801u);
}
