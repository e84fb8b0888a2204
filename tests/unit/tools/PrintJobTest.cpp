#include "PrintJob.h"

#include "TiffWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

using namespace vlprint;

namespace {

using Delivery = HostReply::Delivery;

class FakeSpool : public SpoolFolder {
  public:
    std::string PathFor(std::size_t index) const override {
        return folder + "\\job-" + std::to_string(index + 1);
    }
    bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (failWrites) {
            files[path] = {}; // a partly written file
            return false;
        }
        files[path] = bytes;
        return true;
    }
    bool Exists(const std::string& path) const override { return files.count(path) != 0; }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }

    std::string folder = "C:\\spool";
    bool failWrites = false;
    std::map<std::string, std::vector<std::uint8_t>> files;
};

struct Request {
    unsigned message;
    std::string text;
    bool operator==(const Request& other) const {
        return message == other.message && text == other.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Request& request) {
    return out << request.message << " \"" << request.text << "\"";
}

// Answers every request with result 0 and, like the host, moves each handed-over file away.
class FakeHost : public HostRequests {
  public:
    explicit FakeHost(FakeSpool& spoolFolder) : spool(spoolFolder) {}

    HostReply SetOutputRoot(const std::string& root) override { return Answer({1286, root}); }
    HostReply PromptForOutputRoot() override { return Answer({1285, ""}); }
    HostReply SetNameSuffix(const std::string& suffix) override { return Answer({1280, suffix}); }
    HostReply PlaceOutput(const std::string& path) override {
        const std::string file = path + ".tif";
        placed.push_back(spool.files.at(file));
        const HostReply reply = Answer({1281, path});
        if (reply.delivery == Delivery::Answered && !keepsFiles) {
            spool.Remove(file);
        }
        return reply;
    }

    std::vector<Request> requests;
    std::vector<std::vector<std::uint8_t>> placed;
    // The reply to the request with this number, counted from 1, when it is not 0.
    std::map<std::size_t, HostReply> replies;
    bool keepsFiles = false;

  private:
    HostReply Answer(const Request& request) {
        requests.push_back(request);
        const auto scripted = replies.find(requests.size());
        return scripted == replies.end() ? HostReply{Delivery::Answered, 0} : scripted->second;
    }
    FakeSpool& spool;
};

class PrintJobTest : public ::testing::Test {
  protected:
    PrintJobTest() {
        for (std::uint32_t page = 0; page < 3; ++page) {
            pages.emplace_back(64, 8);
            pages.back().bits[page] = 0xFF;
        }
    }

    int Print() { return RunPrintJob(pages, settings, host, spool, report, errors); }

    std::vector<std::uint8_t> Tiff(std::size_t first, std::size_t count) const {
        std::vector<const BilevelPage*> file;
        for (std::size_t page = first; page < first + count; ++page) {
            file.push_back(&pages[page]);
        }
        return WriteTiff(file, settings.compression, 150);
    }

    std::vector<BilevelPage> pages;
    PrintSettings settings = DefaultPrintSettings();
    FakeSpool spool;
    FakeHost host{spool};
    std::ostringstream report;
    std::ostringstream errors;
};

} // namespace

TEST_F(PrintJobTest, a_multipage_print_hands_over_one_file_without_suffix) {
    settings.outputPath = "c:\\VelloraDoc";
    EXPECT_EQ(Print(), kPrinted);
    EXPECT_EQ(host.requests,
              (std::vector<Request>{
                  {1286, "c:\\VelloraDoc"}, {1280, "000"}, {1281, "C:\\spool\\job-1"}}));
    ASSERT_EQ(host.placed.size(), 1u);
    EXPECT_EQ(host.placed[0], Tiff(0, 3));
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(report.str(), "Request 1286 with the output root \"c:\\VelloraDoc\": result 0.\n"
                            "File 1 of 1 (pages 1-3), " +
                                std::to_string(Tiff(0, 3).size()) +
                                " bytes, name suffix \"000\": result 0, placed.\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(PrintJobTest, one_file_per_page_hands_over_each_page_with_its_number) {
    settings.outputPath = "e:\\Out\\";
    settings.multipage = false;
    settings.compression = Compression::PackBits;
    EXPECT_EQ(Print(), kPrinted);
    EXPECT_EQ(host.requests, (std::vector<Request>{{1286, "e:\\Out\\"},
                                                   {1280, "001"},
                                                   {1281, "C:\\spool\\job-1"},
                                                   {1280, "002"},
                                                   {1281, "C:\\spool\\job-2"},
                                                   {1280, "003"},
                                                   {1281, "C:\\spool\\job-3"}}));
    EXPECT_EQ(host.placed,
              (std::vector<std::vector<std::uint8_t>>{Tiff(0, 1), Tiff(1, 1), Tiff(2, 1)}));
    EXPECT_NE(report.str().find("File 2 of 3 (page 2), "), std::string::npos) << report.str();
    EXPECT_TRUE(spool.files.empty());
}

TEST_F(PrintJobTest, the_file_name_prompt_asks_for_the_dialog_instead_of_sending_the_root) {
    settings.printOnFilePrompt = true;
    settings.outputPath = std::string(300, 'x'); // not sent, so its length does not matter
    EXPECT_EQ(Print(), kPrinted);
    EXPECT_EQ(host.requests,
              (std::vector<Request>{{1285, ""}, {1280, "000"}, {1281, "C:\\spool\\job-1"}}));
    EXPECT_EQ(report.str().rfind("Request 1285 for the output file name dialog: result 0.\n", 0),
              0u);
}

TEST_F(PrintJobTest, a_cancelled_root_dialog_prints_nothing) {
    for (bool prompt : {false, true}) {
        host.requests.clear();
        errors.str("");
        settings.printOnFilePrompt = prompt;
        host.replies[1] = {Delivery::Answered, 1};
        EXPECT_EQ(Print(), kCancelled);
        EXPECT_EQ(host.requests.size(), 1u);
        EXPECT_TRUE(spool.files.empty());
        EXPECT_EQ(errors.str(), "VlPrint: the user cancelled the output file name dialog; "
                                "nothing was printed.\n");
    }
}

TEST_F(PrintJobTest, a_discarded_file_ends_the_print) {
    settings.multipage = false;
    host.replies[5] = {Delivery::Answered, 1}; // the second page's 1281
    EXPECT_EQ(Print(), kCancelled);
    EXPECT_EQ(host.requests.size(), 5u);
    EXPECT_TRUE(spool.files.empty());
    EXPECT_NE(report.str().find("File 2 of 3 (page 2), "), std::string::npos);
    EXPECT_NE(report.str().find(": result 1, discarded.\n"), std::string::npos);
    EXPECT_EQ(errors.str(), "VlPrint: the host discarded file 2 of 3 (page 2): its placement "
                            "was cancelled or failed.\n"
                            "VlPrint: 1 more file not printed.\n");
}

TEST_F(PrintJobTest, a_host_that_goes_away_leaves_no_spool_file) {
    settings.multipage = false;
    host.replies[2] = {Delivery::HostGone, 0}; // the first 1280
    EXPECT_EQ(Print(), kHostUnreachable);
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(errors.str(), "VlPrint: the host went away during the request 1280 with the name "
                            "suffix \"001\"; file 1 of 3 (page 1) was not printed.\n"
                            "VlPrint: 2 more files not printed.\n");
}

TEST_F(PrintJobTest, a_host_that_goes_away_while_placing_leaves_no_spool_file) {
    host.replies[3] = {Delivery::HostGone, 0};
    host.keepsFiles = true;
    EXPECT_EQ(Print(), kHostUnreachable);
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(errors.str(), "VlPrint: the host went away during the request 1281 with "
                            "\"C:\\spool\\job-1\"; file 1 of 1 (pages 1-3) was not printed.\n");
}

TEST_F(PrintJobTest, a_timed_out_placement_leaves_the_file_to_the_host) {
    host.replies[3] = {Delivery::TimedOut, 0};
    host.keepsFiles = true;
    EXPECT_EQ(Print(), kHostUnreachable);
    EXPECT_EQ(spool.files.count("C:\\spool\\job-1.tif"), 1u);
    EXPECT_EQ(errors.str(), "VlPrint: the host did not answer in time to the request 1281 with "
                            "\"C:\\spool\\job-1\"; file 1 of 1 (pages 1-3) stays with the host, "
                            "which removes it when done.\n");
}

TEST_F(PrintJobTest, a_timed_out_root_prints_nothing) {
    host.replies[1] = {Delivery::TimedOut, 0};
    EXPECT_EQ(Print(), kHostUnreachable);
    EXPECT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(errors.str(), "VlPrint: the host did not answer in time to the request 1286 with "
                            "the output root \"c:\\VelloraDoc\"; nothing was printed.\n");
}

TEST_F(PrintJobTest, a_file_the_host_left_behind_is_removed_and_reported) {
    host.keepsFiles = true;
    EXPECT_EQ(Print(), kFailed);
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(errors.str(), "VlPrint: the host neither placed nor removed file 1 of 1 (pages "
                            "1-3); VlPrint removed it from the spool folder.\n");
}

TEST_F(PrintJobTest, a_file_that_cannot_be_written_is_not_handed_over) {
    spool.failWrites = true;
    EXPECT_EQ(Print(), kFailed);
    EXPECT_EQ(host.requests, (std::vector<Request>{{1286, "c:\\VelloraDoc"}}));
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(errors.str(), "VlPrint: could not write file 1 of 1 (pages 1-3) to "
                            "\"C:\\spool\\job-1.tif\".\n");
}

TEST_F(PrintJobTest, texts_longer_than_an_atom_holds_are_refused_before_any_request) {
    settings.outputPath = "c:\\" + std::string(251, 'r');
    EXPECT_EQ(Print(), kPrinted); // 254 characters fit

    host.requests.clear();
    settings.outputPath += "r";
    EXPECT_EQ(Print(), kFailed);
    EXPECT_TRUE(host.requests.empty());
    EXPECT_EQ(errors.str(), "VlPrint: \"" + settings.outputPath +
                                "\" is longer than 254 "
                                "characters, the most that the host can be handed; nothing was "
                                "printed.\n");

    errors.str("");
    settings.outputPath = "c:\\Out";
    spool.folder = "C:\\" + std::string(250, 's');
    EXPECT_EQ(Print(), kFailed);
    EXPECT_TRUE(host.requests.empty());
    EXPECT_NE(errors.str().find("is longer than 254 characters"), std::string::npos);
}

TEST_F(PrintJobTest, a_request_whose_atom_cannot_be_made_is_a_failure_of_the_driver) {
    host.replies[3] = {Delivery::NotSent, 0};
    EXPECT_EQ(Print(), kFailed);
    EXPECT_TRUE(spool.files.empty());
    EXPECT_EQ(errors.str(), "VlPrint: no global atom could be made for the request 1281 with "
                            "\"C:\\spool\\job-1\"; file 1 of 1 (pages 1-3) was not printed.\n");
}
