// The host's hidden window as the driver and other programs see it.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

using namespace winetest;
using hosttest::RunningHost;

TEST(HostWindow, is_found_by_window_name_alone_with_its_class_and_hidden) {
    RunningHost host;
    ASSERT_TRUE(host.process.Started());
    ASSERT_NE(host.window, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, vellora::kHostWindowName), host.window);
    char className[256] = "";
    GetClassNameA(host.window, className, sizeof(className));
    EXPECT_STREQ(className, "Quillmark_Invisble_Wnd");
    EXPECT_FALSE(IsWindowVisible(host.window));
    EXPECT_EQ(GetParent(host.window), nullptr);
    const LONG style = GetWindowLongA(host.window, GWL_STYLE);
    EXPECT_EQ(style & WS_POPUPWINDOW, static_cast<LONG>(WS_POPUPWINDOW));
}

TEST(HostWindow, system_messages_get_the_default_handling) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    EXPECT_EQ(SendWithDeadline(host.window, WM_GETTEXTLENGTH, 0, 0), 11);
    char title[32] = "";
    EXPECT_EQ(
        SendWithDeadline(host.window, WM_GETTEXT, sizeof(title), reinterpret_cast<LPARAM>(title)),
        11);
    EXPECT_STREQ(title, "VelloraHost");
}

TEST(HostWindow, unknown_requests_return_zero) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    for (UINT message : {1024u, 1282u, 1283u, 1288u, 2000u}) {
        EXPECT_EQ(SendWithDeadline(host.window, message, 0, 12345), 0) << message;
    }
    EXPECT_TRUE(host.process.Running());
}

TEST(HostWindow, close_request_ends_the_host_cleanly) {
    RunningHost host;
    ASSERT_NE(host.window, nullptr);
    PostMessageA(host.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(host.process.WaitForExit());
    EXPECT_EQ(host.process.ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(host.window));
}

TEST(HostWindow, command_line_arguments_have_no_effect) {
    RunningHost host(" /uninstall --exit C:\\nowhere");
    ASSERT_NE(host.window, nullptr);
    EXPECT_EQ(SendWithDeadline(host.window, 2000, 0, 0), 0);
    EXPECT_TRUE(host.process.Running());
}

TEST(HostWindow, two_hosts_run_side_by_side) {
    RunningHost first;
    RunningHost second;
    ASSERT_NE(first.window, nullptr);
    ASSERT_NE(second.window, nullptr);
    EXPECT_NE(first.window, second.window);
    EXPECT_EQ(FindTopLevelWindows(vellora::kHostWindowClass, vellora::kHostWindowName).size(), 2u);
    const HWND found = FindWindowA(nullptr, vellora::kHostWindowName);
    EXPECT_TRUE(found == first.window || found == second.window);
    EXPECT_EQ(SendWithDeadline(first.window, 1282, 0, 0), 0);
    EXPECT_EQ(SendWithDeadline(second.window, 1282, 0, 0), 0);
}
