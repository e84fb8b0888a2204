// A short host fuzz: a few thousand random requests from four sender processes at once, with
// every box answered at random. The save-file dialog stays out of it: Wine's own dialog, opened
// nested under such a load, now and then faults in its own code, which would fail this test for
// a fault that is not the host's. The long run in scripts/bench.sh has the dialog too and counts
// such faults apart.
#include "HostFuzzer.h"

#include <gtest/gtest.h>

TEST(HostFuzz, four_senders_at_once_leave_the_host_answering_with_nothing_behind) {
    bench::HostFuzzPlan plan;
    plan.requests = 4000;
    plan.folder = "C:\\vtest\\hostfuzz";
    plan.seed = 20240607;
    plan.saveDialogs = false;
    const bench::HostFuzzReport report = bench::RunHostFuzz(plan);
    ASSERT_TRUE(report.started);
    EXPECT_EQ(report.requestsSent, plan.requests);
    EXPECT_EQ(report.unanswered, 0);
    EXPECT_EQ(report.producedFilesLeft, 0);
    EXPECT_GT(report.boxesAnswered, 0);
    EXPECT_TRUE(report.hostAnswersAtEnd);
    EXPECT_TRUE(report.hostPlacesAtEnd);
    EXPECT_EQ(report.atomsLeft, 0);
    EXPECT_EQ(report.touchedOutside, std::vector<std::string>());
    EXPECT_TRUE(report.hostEndsOnExitRequest);
}
