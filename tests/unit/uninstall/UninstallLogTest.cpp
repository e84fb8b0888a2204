#include "UninstallLog.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

TEST(UninstallLog, set_replaces_and_append_adds) {
    UninstallLog log;
    EXPECT_STREQ(log.Text(), "");
    log.Set("earlier run\n");
    log.Set("Starting uninstall...\n");
    log.Append("Uninstallation finished.\n");
    EXPECT_STREQ(log.Text(), "Starting uninstall...\nUninstallation finished.\n");
}

TEST(UninstallLog, file_lines_begin_with_two_spaces_or_a_tab) {
    UninstallLog log;
    AppendRemovalLine(log, "VelloraH.exe", true);
    AppendRemovalLine(log, "Vellora.ini", false);
    EXPECT_STREQ(log.Text(), "  VelloraH.exe deleted...\n\tVellora.ini not deleted...\n");
}

TEST(UninstallLog, error_line_is_message_then_signed_decimal_code) {
    UninstallLog log;
    EXPECT_FALSE(AppendErrorLine(log, "\tDriver can not be opened...", 1801));
    EXPECT_STREQ(log.Text(), "\tDriver can not be opened..., err - 1801 \n");
}

TEST(UninstallLog, error_suffix_with_zero_negative_and_extreme_codes) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, ", err - 0 \n"},
        {-5, ", err - -5 \n"},
        {static_cast<std::int32_t>(0xFFFFFFFFu), ", err - -1 \n"},
        {static_cast<std::int32_t>(0x80070005u), ", err - -2147024891 \n"},
        {INT32_MAX, ", err - 2147483647 \n"},
        {INT32_MIN, ", err - -2147483648 \n"},
    };
    for (const auto& [code, suffix] : cases) {
        UninstallLog log;
        AppendErrorLine(log, "", code);
        EXPECT_STREQ(log.Text(), suffix) << code;
    }
    UninstallLog longest;
    AppendErrorLine(longest, "", INT32_MIN);
    EXPECT_EQ(std::strlen(longest.Text()), 21u);
}

namespace {

// A log with bytes behind it that must stay untouched.
struct GuardedLog {
    UninstallLog log;
    char guard[32];
};

std::string Repeat(char c, std::size_t count) {
    return std::string(count, c);
}

} // namespace

TEST(UninstallLogCapacity, append_stops_at_599_characters) {
    GuardedLog guarded;
    std::memset(guarded.guard, 'G', sizeof(guarded.guard));
    guarded.log.Set(Repeat('a', 590).c_str());
    guarded.log.Append("0123456789ABCDEF");
    EXPECT_EQ(std::string(guarded.log.Text()), Repeat('a', 590) + "012345678");
    guarded.log.Append("more");
    AppendRemovalLine(guarded.log, "VelloraH.exe", false);
    AppendErrorLine(guarded.log, "\tDriver uninstall failed...", INT32_MIN);
    EXPECT_EQ(std::strlen(guarded.log.Text()), UninstallLog::kCapacity - 1);
    EXPECT_EQ(std::string(guarded.guard, sizeof(guarded.guard)), Repeat('G', 32));
}

TEST(UninstallLogCapacity, set_cuts_an_overlong_text_and_fills_exactly) {
    UninstallLog log;
    log.Set(Repeat('x', 5000).c_str());
    EXPECT_EQ(std::string(log.Text()), Repeat('x', 599));
    log.Set(Repeat('y', 598).c_str());
    log.Append("z");
    EXPECT_EQ(std::string(log.Text()), Repeat('y', 598) + "z");
    log.Append("z");
    EXPECT_EQ(std::string(log.Text()), Repeat('y', 598) + "z");
}
