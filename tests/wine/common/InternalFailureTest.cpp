#include "WineTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

using namespace winetest;

TEST(InternalFailure, a_box_names_the_program_and_the_cause_and_the_program_ends_with_3) {
    const struct {
        const char* argument;
        const char* cause;
    } failures[] = {
        {"index", "Internal error: this program ends."},
        {"memory", "Not enough memory: this program ends."},
    };
    const std::string program = BinPath("FailingProgram.exe");
    for (const auto& failure : failures) {
        Process process("\"" + program + "\" " + failure.argument);
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(AnswerMessageBox(vellora::kMessageCaption, IDOK), program + "\n" + failure.cause)
            << failure.argument;
        ASSERT_TRUE(process.WaitForExit()) << failure.argument;
        EXPECT_EQ(process.ExitCode(), 3u) << failure.argument;
    }
}
