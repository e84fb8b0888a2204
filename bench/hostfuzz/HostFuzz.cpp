// HostFuzz.exe run REQUESTS FOLDER SEED [no-save-dialogs]: fuzzes a host started from beside
// this program with four sender processes at once and prints what came of it; exit code 0 when
// the host survived with nothing left behind.
// HostFuzz.exe send WINDOW REQUESTS FOLDER SEED DIALOGS: one of the senders (started by the run).
#include "BenchSupport.h"
#include "HostFuzzer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Run(int requests, const std::string& folder, std::uint32_t seed, bool saveDialogs) {
    bench::HostFuzzPlan plan;
    plan.requests = requests;
    plan.folder = folder;
    plan.seed = seed;
    plan.saveDialogs = saveDialogs;
    const bench::HostFuzzReport report = bench::RunHostFuzz(plan);
    for (const std::string& path : report.touchedOutside) {
        std::fprintf(stderr, "touched outside the test folders: %s\n", path.c_str());
    }
    bench::PrintFigure("hostfuzz_seed", seed);
    bench::PrintFigure("hostfuzz_started", report.started);
    bench::PrintFigure("hostfuzz_requests", report.requestsSent);
    bench::PrintFigure("hostfuzz_unanswered", report.unanswered);
    bench::PrintFigure("hostfuzz_produced_left", report.producedFilesLeft);
    bench::PrintFigure("hostfuzz_boxes", report.boxesAnswered);
    bench::PrintFigure("hostfuzz_dialogs", report.dialogsAnswered);
    bench::PrintFigure("hostfuzz_answers_at_end", report.hostAnswersAtEnd);
    bench::PrintFigure("hostfuzz_places_at_end", report.hostPlacesAtEnd);
    bench::PrintFigure("hostfuzz_atoms_left", report.atomsLeft);
    bench::PrintFigure("hostfuzz_touched_outside",
                       static_cast<double>(report.touchedOutside.size()));
    bench::PrintFigure("hostfuzz_exit_request_ends_host", report.hostEndsOnExitRequest);
    const bool survived =
        report.started && report.requestsSent == requests && report.unanswered == 0 &&
        report.producedFilesLeft == 0 && report.hostAnswersAtEnd && report.hostPlacesAtEnd &&
        report.atomsLeft == 0 && report.touchedOutside.empty() && report.hostEndsOnExitRequest;
    return survived ? 0 : 1;
}

std::uint32_t Number(const char* text) {
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool withoutDialogs = argc == 6 && std::string(argv[5]) == "no-save-dialogs";
    if (mode == "run" && (argc == 5 || withoutDialogs)) {
        return Run(std::atoi(argv[2]), argv[3], Number(argv[4]), !withoutDialogs);
    }
    if (mode == "send" && argc == 7) {
        const auto window = reinterpret_cast<HWND>(std::strtoull(argv[2], nullptr, 10));
        return bench::RunFuzzSender(window, std::atoi(argv[3]), argv[4], Number(argv[5]),
                                    Number(argv[6]) != 0);
    }
    std::fprintf(stderr, "usage: HostFuzz run REQUESTS FOLDER SEED [no-save-dialogs]\n"
                         "       HostFuzz send WINDOW REQUESTS FOLDER SEED DIALOGS\n");
    return 2;
}
