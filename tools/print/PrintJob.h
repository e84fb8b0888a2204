// One print job as the driver runs it: the output root to the host, then each TIFF file
// written to the spool folder and handed over with its name suffix. The host and the spool
// folder are reached through the two interfaces below, so that the job's rules are tested
// without Windows.
#pragma once

#include "BilevelPage.h"
#include "PrintSettings.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vlprint {

// Exit codes of VlPrint.
constexpr int kPrinted = 0;
constexpr int kFailed = 1;
constexpr int kHostUnreachable = 2;
constexpr int kCancelled = 3;

struct HostReply {
    enum class Delivery {
        Answered,
        HostGone, // the window vanished: the host never saw the request or died in it
        TimedOut, // the host still works on the request
        NotSent,  // no global atom could be made for the request's text
    };
    Delivery delivery;
    long result;
};

// The host's requests; each reply is the host's result for a synchronous sender.
class HostRequests {
  public:
    virtual ~HostRequests() = default;
    virtual HostReply SetOutputRoot(const std::string& root) = 0;
    virtual HostReply PromptForOutputRoot() = 0;
    virtual HostReply SetNameSuffix(const std::string& suffix) = 0;
    virtual HostReply PlaceOutput(const std::string& pathWithoutExtension) = 0;
};

// The driver's own spool folder.
class SpoolFolder {
  public:
    virtual ~SpoolFolder() = default;
    // The path, without ".tif", of the job's file number `index`.
    virtual std::string PathFor(std::size_t index) const = 0;
    virtual bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    virtual bool Exists(const std::string& path) const = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// Runs the job and reports each step on `report`, each failure on `errors`; returns the exit
// code. No file of the job stays in the spool folder, except one that the host still holds
// when a request timed out: the host removes that one when it gets to it.
int RunPrintJob(const std::vector<BilevelPage>& pages, const PrintSettings& settings,
                HostRequests& host, SpoolFolder& spool, std::ostream& report, std::ostream& errors);

} // namespace vlprint
