// What the Windows-side benchmark programs share: a clock, polling with a deadline, started
// programs and the medians they print.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Milliseconds from a fixed point, with the resolution of the performance counter.
double NowMs();

// Polls the condition every millisecond until it holds or the deadline passes.
bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Full path of a program that lies beside the running one.
std::string SiblingPath(const std::string& fileName);

// A started program; ended by force when the object goes away while it still runs.
class StartedProgram {
  public:
    explicit StartedProgram(const std::string& path, const std::string& arguments = "",
                            const std::string& currentFolder = "");
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    DWORD Id() const { return info.dwProcessId; }
    HANDLE Handle() const { return info.hProcess; }
    // Waits for the end; false when it did not come in time.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;

  private:
    PROCESS_INFORMATION info = {};
};

double Median(std::vector<double> values);

// One figure per line, "name value", for the bench script to read.
void PrintFigure(const char* name, double value);

} // namespace bench
