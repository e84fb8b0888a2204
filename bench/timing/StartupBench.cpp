// StartupBench.exe [ROUNDS]: the time from process start to the host's window answering and to
// the properties dialog shown, each beside an empty program that does the same and nothing else.
// Each round starts a program and its empty counterpart right after one another, in turns, so
// that both of a pair meet the same load of the machine; the pair's ratio is taken per round.
// Prints the medians in milliseconds and the median of the pairs' ratios.
#include "BenchNames.h"
#include "BenchSupport.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kReadyTimeoutMs = 30000;
// The wait for ready is what is measured: a coarser poll would round every start up to it.
constexpr DWORD kReadyPollMs = 1;
constexpr int kDefaultRounds = 20;

struct Subject {
    const char* program;
    const char* windowClass; // null for any class
    const char* windowName;
    bool isDialog; // ready once shown, closed with Cancel; a window is ready once it answers
};

// A program and the empty one it is measured against.
struct Pair {
    const char* name;
    Subject measured;
    Subject floor;
};

// The caption of the properties program's dialog.
constexpr const char* kPropertiesCaption = "Vellora 9x Advanced Properties";

constexpr Pair kPairs[] = {
    {"host",
     {vellora::kHostProgramFile, nullptr, vellora::kHostWindowName, false},
     {"EmptyWindow.exe", nullptr, bench::kEmptyWindowName, false}},
    {"properties",
     {vellora::kPropertiesProgramFile, "#32770", kPropertiesCaption, true},
     {"EmptyDialog.exe", "#32770", bench::kEmptyDialogCaption, true}},
};

bool IsReady(const Subject& subject, HWND& window) {
    window = FindWindowA(subject.windowClass, subject.windowName);
    if (!window) {
        return false;
    }
    if (subject.isDialog) {
        return IsWindowVisible(window) != FALSE;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

void Close(const Subject& subject, HWND window) {
    if (subject.isDialog) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    } else {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

// Milliseconds from CreateProcess to ready; negative when the program never got ready.
double TimeStart(const Subject& subject) {
    HWND window = nullptr;
    const double start = bench::NowMs();
    const std::string path = bench::SiblingPath(subject.program);
    winetest::Process program(path, "\"" + path + "\"");
    if (!program.Started() || !winetest::WaitUntil([&] { return IsReady(subject, window); },
                                                   kReadyTimeoutMs, kReadyPollMs)) {
        std::fprintf(stderr, "%s did not get ready\n", subject.program);
        return -1.0;
    }
    const double elapsed = bench::NowMs() - start;
    Close(subject, window);
    program.WaitForExit(10000);
    return elapsed;
}

struct PairTimes {
    std::vector<double> measured;
    std::vector<double> floor;
    std::vector<double> ratios;
};

// One start of each; the order alternates from round to round.
bool TimePair(const Pair& pair, int round, PairTimes& times) {
    const bool floorFirst = round % 2 != 0;
    const double first = TimeStart(floorFirst ? pair.floor : pair.measured);
    const double second = TimeStart(floorFirst ? pair.measured : pair.floor);
    if (first < 0 || second < 0) {
        return false;
    }
    const double measured = floorFirst ? second : first;
    const double floor = floorFirst ? first : second;
    times.measured.push_back(measured);
    times.floor.push_back(floor);
    times.ratios.push_back(measured / floor);
    return true;
}

void PrintPair(const Pair& pair, const PairTimes& times) {
    const std::string name = std::string("startup_") + pair.name;
    bench::PrintFigure((name + "_ms").c_str(), bench::Median(times.measured));
    bench::PrintFigure((name + "_floor_ms").c_str(), bench::Median(times.floor));
    bench::PrintFigure((name + "_ratio").c_str(), bench::Median(times.ratios));
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
    for (const Pair& pair : kPairs) {
        PairTimes warmUp;
        PairTimes times;
        if (!TimePair(pair, 0, warmUp)) {
            return 1;
        }
        for (int round = 0; round < rounds; ++round) {
            if (!TimePair(pair, round, times)) {
                return 1;
            }
        }
        PrintPair(pair, times);
    }
    return 0;
}
