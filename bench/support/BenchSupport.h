// What only the Windows-side benchmark programs share: a clock, the programs beside them, the
// series of side-by-side pairs and the figures they print. Processes and waits are the Wine
// tests' (WineTest.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Milliseconds from a fixed point, with the resolution of the performance counter.
double NowMs();

// Full path of a program that lies beside the running one.
std::string SiblingPath(const std::string& fileName);

// The value below which the given share (0 to 1) of the values lies, interpolated between the
// two nearest values; 0 for no values.
double Quantile(std::vector<double> values, double share);

double Median(std::vector<double> values);

// A program and its floor timed side by side, taking turns: a moment of load that slows one
// start or one block slows only its own pair, and the pair's ratio is taken within it.
struct PairSeries {
    std::vector<double> measured;
    std::vector<double> floor;
    std::vector<double> ratios;

    void Add(double measuredTime, double floorTime);
};

// Under Xvfb no window manager runs, and Wine waits two seconds for one whenever it hides a
// window that it leaves to the manager. While this object lives, Wine places the named
// program's windows itself, and closing a dialog costs no such wait. The key is Wine's own.
class UnmanagedWindows {
  public:
    explicit UnmanagedWindows(const std::string& programFile);
    ~UnmanagedWindows();
    UnmanagedWindows(const UnmanagedWindows&) = delete;
    UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;

  private:
    HKEY settings = nullptr;
};

// One figure per line, "name value", for the bench script to read.
void PrintFigure(const char* name, double value);

// NAME_pairs; NAME_UNIT and NAME_floor_UNIT, the medians of each side; NAME_ratio, the median
// of the pairs' ratios, on which the target is judged; NAME_ratio_q1 and NAME_ratio_q3, the
// 25th and 75th percentiles of those ratios, the spread of the middle half of the pairs.
void PrintPairSeries(const std::string& name, const std::string& unit, const PairSeries& series);

} // namespace bench
