#include "Arguments.h"

#include <gtest/gtest.h>

using namespace vlprint;

namespace {

struct Parsed {
    bool ok;
    Arguments arguments;
    std::string error;
};

Parsed Parse(const std::vector<std::string>& words) {
    Parsed parsed{false, {}, ""};
    parsed.ok = ParseArguments(words, parsed.arguments, parsed.error);
    return parsed;
}

} // namespace

TEST(Arguments, nothing_given_prints_three_test_pages_with_the_defaults) {
    const Parsed parsed = Parse({});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.arguments.document, "");
    EXPECT_EQ(parsed.arguments.testPages, 3);
    EXPECT_EQ(parsed.arguments.outputRoot, "");
    EXPECT_EQ(parsed.arguments.waitHostSeconds, 10);
    EXPECT_EQ(parsed.arguments.timeoutSeconds, 600);
}

TEST(Arguments, every_option_takes_its_value) {
    const Parsed parsed =
        Parse({"--pages", "7", "--root", "c:\\Out\\Doc", "--wait-host", "30", "--timeout", "90"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.arguments.testPages, 7);
    EXPECT_EQ(parsed.arguments.outputRoot, "c:\\Out\\Doc");
    EXPECT_EQ(parsed.arguments.waitHostSeconds, 30);
    EXPECT_EQ(parsed.arguments.timeoutSeconds, 90);
}

TEST(Arguments, a_document_is_any_word_that_is_no_option) {
    const Parsed parsed = Parse({"--root", "e:\\x", "C:\\docs\\letter.txt"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.arguments.document, "C:\\docs\\letter.txt");
    EXPECT_TRUE(Parse({"-"}).ok);
}

TEST(Arguments, wrong_command_lines_are_refused_with_the_reason) {
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{"a.txt", "b.txt"}, "more than one document"},
        {{""}, "an empty document name"},
        {{"a.txt", "--pages", "2"}, "a document and --pages together"},
        {{"--pages"}, "--pages needs a value"},
        {{"--pages", "0"}, "not a valid value for --pages: \"0\""},
        {{"--pages", "-1"}, "not a valid value for --pages: \"-1\""},
        {{"--pages", "10000"}, "not a valid value for --pages: \"10000\""},
        {{"--pages", "2x"}, "not a valid value for --pages: \"2x\""},
        {{"--timeout", "99999999999"}, "not a valid value for --timeout: \"99999999999\""},
        {{"--wait-host", ""}, "not a valid value for --wait-host: \"\""},
        {{"--root", ""}, "not a valid value for --root: \"\""},
        {{"--copies", "2"}, "unknown option --copies"},
    };
    for (const auto& bad : cases) {
        const Parsed parsed = Parse(bad.words);
        EXPECT_FALSE(parsed.ok) << bad.error;
        EXPECT_EQ(parsed.error, bad.error);
    }
}
