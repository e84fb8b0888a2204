#include "SetupCommandLine.h"

#include <gtest/gtest.h>

namespace {

std::optional<SetupOptions> Parse(const std::vector<std::string>& arguments) {
    std::string error;
    return ParseSetupCommandLine(arguments, error);
}

std::string ErrorOf(const std::vector<std::string>& arguments) {
    std::string error;
    EXPECT_FALSE(ParseSetupCommandLine(arguments, error));
    return error;
}

} // namespace

TEST(SetupCommandLine, plain_install_creates_everything_and_starts_nothing) {
    const auto options = Parse({"install"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->command, SetupCommand::Install);
    EXPECT_EQ(options->sourceFolder, "");
    EXPECT_TRUE(options->printer && options->settingsFile && options->startupValue &&
                options->shortcuts);
    EXPECT_FALSE(options->startHost);
}

TEST(SetupCommandLine, install_options_leave_out_items_in_any_order) {
    const auto options = Parse({"install", "--no-startup", "--from", "C:\\build dir\\bin",
                                "--no-printer", "--start-host", "--no-shortcuts", "--no-settings"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->sourceFolder, "C:\\build dir\\bin");
    EXPECT_FALSE(options->printer || options->settingsFile || options->startupValue ||
                 options->shortcuts);
    EXPECT_TRUE(options->startHost);
}

TEST(SetupCommandLine, start_host_and_status_take_no_options) {
    EXPECT_EQ(Parse({"start-host"})->command, SetupCommand::StartHost);
    EXPECT_EQ(Parse({"status"})->command, SetupCommand::Status);
    EXPECT_EQ(ErrorOf({"status", "--no-printer"}), "status takes no options");
    EXPECT_EQ(ErrorOf({"start-host", "install"}), "start-host takes no options");
}

TEST(SetupCommandLine, errors_name_what_is_wrong) {
    EXPECT_EQ(ErrorOf({}), "no command given");
    EXPECT_EQ(ErrorOf({"uninstall"}), "unknown command: uninstall");
    EXPECT_EQ(ErrorOf({"install", "--printer"}), "unknown option for install: --printer");
    EXPECT_EQ(ErrorOf({"install", "--from"}), "--from needs a folder");
    EXPECT_EQ(ErrorOf({"install", "--from", ""}), "--from needs a folder");
}

TEST(SetupCommandLine, usage_names_every_command_and_option) {
    const std::string usage = SetupUsage();
    for (const char* word : {"install", "start-host", "status", "--from", "--no-printer",
                             "--no-settings", "--no-startup", "--no-shortcuts", "--start-host"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}
