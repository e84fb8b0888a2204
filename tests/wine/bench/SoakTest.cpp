// A short soak: a few hundred documents through the real host, each printed as the driver
// prints it, every file looked for at its target and in the spool folder. The long run of ten
// thousand documents is Soak.exe's.
#include "SoakRun.h"

#include "VelloraNames.h"
#include "WineTest.h"

#include <gtest/gtest.h>

using namespace winetest;

namespace {

constexpr int kDocuments = 300;
constexpr unsigned kRequestTimeoutMs = 20000;
constexpr DWORD kSoakProgramTimeoutMs = 60000;

// The host started for one test, ended by its own exit request when the test is done.
class Soak : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(window, nullptr); }

    void TearDown() override {
        PostMessageA(window, vellora::HM_EXIT, 0, 0);
        ASSERT_TRUE(host.WaitForExit());
        EXPECT_EQ(host.ExitCode(), 0u);
    }

    // Answered with 0 when the host still takes an output root.
    LRESULT SetOutputRoot(const std::string& root) {
        return SendWithDeadline(window, vellora::HM_SET_OUTPUT_ROOT, GlobalAddAtomA(root.c_str()),
                                0);
    }

    Process host{"\"" + BinPath(vellora::kHostProgramFile) + "\""};
    HWND window = WaitForWindow(nullptr, vellora::kHostWindowName, host.Id());
};

} // namespace

TEST_F(Soak, every_document_lands_whole_and_nothing_stays_in_the_spool_folder) {
    const std::string folder = FreshFolder("soak");
    const bench::SoakCounts counts = bench::RunSoak(kDocuments, folder, window, kRequestTimeoutMs);
    ASSERT_TRUE(counts.prepared);
    EXPECT_EQ(counts.documents, kDocuments);
    EXPECT_EQ(counts.failedJobs, 0);
    // Of every twelve documents: six of one page, three of two pages in one file, three of two
    // pages in a file each.
    EXPECT_EQ(counts.filesPlaced, kDocuments / 12 * (6 + 3 + 3 * 2));
    EXPECT_EQ(counts.filesMissing, 0);
    EXPECT_EQ(counts.filesDamaged, 0);
    EXPECT_EQ(counts.spoolFilesLeft, 0);
    EXPECT_TRUE(counts.Clean(kDocuments));
    EXPECT_EQ(SetOutputRoot(folder + "\\after"), 0);
    EXPECT_TRUE(RemoveTree(folder)); // the checked files were removed: only the folder is left
}

TEST_F(Soak, the_soak_program_ends_with_0_after_a_clean_run) {
    const std::string folder = FreshFolder("soakprogram");
    Process soak("\"" + BinPath("Soak.exe") + "\" 24 " + folder);
    ASSERT_TRUE(soak.WaitForExit(kSoakProgramTimeoutMs));
    EXPECT_EQ(soak.ExitCode(), 0u);
}
