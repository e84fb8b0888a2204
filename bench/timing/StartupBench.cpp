// StartupBench.exe [PAIRS]: the time from process start to the host's window answering and to
// the properties dialog shown, each beside an empty program that does the same and nothing else.
// Each pair starts a program and its empty counterpart right after one another, the order
// alternating from pair to pair, so that both of a pair meet the same load of the machine; the
// pair's ratio is taken within it. Prints, per program, the medians in milliseconds, the median
// of the pairs' ratios and their 25th and 75th percentiles.
#include "BenchNames.h"
#include "BenchSupport.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kReadyTimeoutMs = 30000;
// The wait for ready is what is measured: a coarser poll would round every start up to it.
constexpr DWORD kReadyPollMs = 1;
constexpr int kDefaultPairs = 200;

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

// One start of each; the order alternates from pair to pair.
bool TimePair(const Pair& pair, int number, bench::PairSeries& series) {
    const bool floorFirst = number % 2 != 0;
    const double first = TimeStart(floorFirst ? pair.floor : pair.measured);
    const double second = TimeStart(floorFirst ? pair.measured : pair.floor);
    if (first < 0 || second < 0) {
        return false;
    }
    series.Add(floorFirst ? second : first, floorFirst ? first : second);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : kDefaultPairs;
    for (const Pair& pair : kPairs) {
        // Alike for both of a pair; without it every dialog closed would cost two seconds.
        const bench::UnmanagedWindows measured(pair.measured.program);
        const bench::UnmanagedWindows floor(pair.floor.program);
        bench::PairSeries warmUp;
        bench::PairSeries series;
        if (!TimePair(pair, 0, warmUp)) {
            return 1;
        }
        for (int number = 0; number < pairs; ++number) {
            if (!TimePair(pair, number, series)) {
                return 1;
            }
        }
        bench::PrintPairSeries(std::string("startup_") + pair.name, "ms", series);
    }
    return 0;
}
