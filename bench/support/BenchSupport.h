// What only the Windows-side benchmark programs share: a clock, the programs beside them and the
// medians they print. Processes and waits are the Wine tests' (WineTest.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Milliseconds from a fixed point, with the resolution of the performance counter.
double NowMs();

// Full path of a program that lies beside the running one.
std::string SiblingPath(const std::string& fileName);

double Median(std::vector<double> values);

// One figure per line, "name value", for the bench script to read.
void PrintFigure(const char* name, double value);

} // namespace bench
