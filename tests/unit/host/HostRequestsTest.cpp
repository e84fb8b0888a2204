#include "HostWindow.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

TEST(UnknownRequests, return_zero_and_change_nothing) {
    HostWindow host;
    host.outputRoot = "c:\\Out\\";
    host.targetPath = "c:\\Out\\Doc";
    host.nameSuffix = "Doc";
    for (unsigned message : {1024u, 1282u, 1283u, 1288u, 2000u, 0xFFFFu}) {
        EXPECT_EQ(host.HandleHostMessage(message, 42, 7), 0) << message;
    }
    EXPECT_EQ(host.outputRoot, "c:\\Out\\");
    EXPECT_EQ(host.targetPath, "c:\\Out\\Doc");
    EXPECT_EQ(host.nameSuffix, "Doc");
    EXPECT_EQ(host.launchInProgress, 0);
}
