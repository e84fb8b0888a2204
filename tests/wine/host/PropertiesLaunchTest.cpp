// 1287 starts the properties program from the printer-driver directory and blocks the host
// until it has ended; 1284 ends the host. A small stand-in takes the properties program's place.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace winetest;
using namespace hosttest;

namespace {

constexpr const char* kStandInTitle = "VlExProp stand-in";
constexpr UINT kUnknownRequest = 2000;

class PropertiesLaunch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(host.window, nullptr);
        const std::string directory = PrinterDriverDirectory();
        CreateDirectoryA(directory.c_str(), nullptr);
        program = directory + "\\" + vellora::kPropertiesProgramFile;
        log = program + ".log";
        DeleteFileA(log.c_str());
        ASSERT_TRUE(CopyFileA(BinPath("PropertiesStandIn.exe").c_str(), program.c_str(), FALSE));
    }
    void TearDown() override {
        for (HWND standIn : FindTopLevelWindows(nullptr, kStandInTitle)) {
            PostMessageA(standIn, WM_CLOSE, 0, 0);
        }
    }
    // The stand-in's windows that are up now.
    size_t StandInsRunning() const { return FindTopLevelWindows(nullptr, kStandInTitle).size(); }
    size_t StartsRecorded() const {
        const std::string text = ReadFileText(log);
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    void CloseStandIn() {
        HWND standIn = WaitForWindow(nullptr, kStandInTitle);
        ASSERT_NE(standIn, nullptr);
        PostMessageA(standIn, WM_CLOSE, 0, 0);
        WaitForWindowGone(standIn);
    }

    RunningHost host;
    std::string program;
    std::string log;
};

} // namespace

TEST_F(PropertiesLaunch, the_host_answers_nothing_until_the_program_has_ended) {
    auto request = SendRequestAsync(host.window, vellora::HM_OPEN_PROPERTIES);
    ASSERT_NE(WaitForWindow(nullptr, kStandInTitle), nullptr);
    EXPECT_EQ(SendWithDeadline(host.window, kUnknownRequest, 0, 0, 1000), -1);
    EXPECT_EQ(request.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    CloseStandIn();
    EXPECT_EQ(ResultOf(request), 0);
    EXPECT_EQ(SendWithDeadline(host.window, kUnknownRequest, 0, 0), 0);
}

TEST_F(PropertiesLaunch, the_program_gets_no_arguments) {
    auto request = SendRequestAsync(host.window, vellora::HM_OPEN_PROPERTIES);
    CloseStandIn();
    EXPECT_EQ(ResultOf(request), 0);
    // The system may put the program's own path in front; nothing may follow it.
    std::string line = ReadFileText(log);
    ASSERT_FALSE(line.empty());
    line.pop_back();
    EXPECT_TRUE(line.empty() || line == program || line == "\"" + program + "\"") << line;
}

TEST_F(PropertiesLaunch, a_second_request_starts_a_second_copy_only_after_the_first_ended) {
    auto first = SendRequestAsync(host.window, vellora::HM_OPEN_PROPERTIES);
    ASSERT_NE(WaitForWindow(nullptr, kStandInTitle), nullptr);
    auto second = SendRequestAsync(host.window, vellora::HM_OPEN_PROPERTIES);
    EXPECT_EQ(StandInsRunning(), 1u);
    CloseStandIn();
    EXPECT_EQ(ResultOf(first), 0);
    CloseStandIn();
    EXPECT_EQ(ResultOf(second), 0);
    EXPECT_EQ(StartsRecorded(), 2u);
}

TEST_F(PropertiesLaunch, an_exit_posted_meanwhile_ends_the_host_once_the_program_has_ended) {
    auto request = SendRequestAsync(host.window, vellora::HM_OPEN_PROPERTIES);
    ASSERT_NE(WaitForWindow(nullptr, kStandInTitle), nullptr);
    PostMessageA(host.window, vellora::HM_EXIT, 0, 0);
    EXPECT_FALSE(host.process.WaitForExit(500));
    CloseStandIn();
    ASSERT_TRUE(host.process.WaitForExit());
    EXPECT_EQ(host.process.ExitCode(), 0u);
}

TEST_F(PropertiesLaunch, a_missing_program_starts_nothing_and_returns_0) {
    ASSERT_TRUE(DeleteFileA(program.c_str()));
    EXPECT_EQ(SendWithDeadline(host.window, vellora::HM_OPEN_PROPERTIES, 0, 0), 0);
    EXPECT_EQ(SendWithDeadline(host.window, kUnknownRequest, 0, 0), 0);
    EXPECT_EQ(StandInsRunning(), 0u);
}

TEST(HostExit, exit_request_ends_the_host_with_code_0) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    PostMessageA(host.window, vellora::HM_EXIT, 0, 0);
    ASSERT_TRUE(host.process.WaitForExit());
    EXPECT_EQ(host.process.ExitCode(), 0u);
}

TEST(HostExit, a_sent_exit_request_ends_the_host_without_reply) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    SendWithDeadline(host.window, vellora::HM_EXIT, 0, 0);
    ASSERT_TRUE(host.process.WaitForExit());
    EXPECT_EQ(host.process.ExitCode(), 0u);
}

TEST(HostExit, an_exit_ends_the_host_while_a_box_waits) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    const std::string spool = FreshFolder("spool-exit");
    auto placed = PlaceOutputAsync(host.window, spool + "\\missing");
    ASSERT_NE(WaitForHostBox(), nullptr);
    PostMessageA(host.window, vellora::HM_EXIT, 0, 0);
    ASSERT_TRUE(host.process.WaitForExit());
    EXPECT_EQ(host.process.ExitCode(), 0u);
    ResultOf(placed);
}
