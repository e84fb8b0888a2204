// The host fuzz: random requests from several sender processes at once to one running host, with
// every box and dialog it opens answered at random, and the checks afterwards. The exit request
// 1284 is never drawn, since it ends the host: it is sent once at the end, after the checks, and
// must end the host with exit code 0. The properties program is a stand-in that ends at once, so
// that 1287 never waits for a user.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct HostFuzzPlan {
    int requests = 0; // in all, shared among the senders
    int senders = 4;
    std::string folder; // made afresh; everything the fuzz may touch lies in it or beside it
    std::uint32_t seed = 1;
    // Requests that open the save-file dialog, and the answer No that opens it too. Wine's
    // dialog, opened nested while other requests come in, now and then faults in its own code;
    // a run meant to pass or fail on the host alone leaves it out.
    bool saveDialogs = true;
};

struct HostFuzzReport {
    bool started = false;      // the stand-in was placed and the host's window appeared
    int requestsSent = 0;      // answered by the host
    int unanswered = 0;        // sends that found no window or timed out
    int producedFilesLeft = 0; // produced files neither moved nor deleted by 1281
    int boxesAnswered = 0;
    int dialogsAnswered = 0;
    bool hostAnswersAtEnd = false;
    bool hostPlacesAtEnd = false;            // a plain placement still works afterwards
    int atomsLeft = 0;                       // texts of the senders' atoms still in the atom table
    std::vector<std::string> touchedOutside; // files changed outside the test folders
    bool hostEndsOnExitRequest = false;
};

HostFuzzReport RunHostFuzz(const HostFuzzPlan& plan);

// One sender process: `requests` requests to the host's window, texts and files in `folder`.
// Writes what it sent and which atom texts it used to the folder's report file. 0 when every
// request was answered.
int RunFuzzSender(HWND host, int requests, const std::string& folder, std::uint32_t seed,
                  bool saveDialogs);

} // namespace bench
