#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(1);
    }
}

std::string SiblingPath(const std::string& fileName) {
    char own[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, own, sizeof(own));
    std::string folder(own, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + fileName;
}

StartedProgram::StartedProgram(const std::string& path, const std::string& arguments,
                               const std::string& currentFolder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        info = {};
    }
}

StartedProgram::~StartedProgram() {
    if (!Started()) {
        return;
    }
    if (!WaitForExit(0)) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool StartedProgram::WaitForExit(DWORD timeoutMs) {
    return Started() && WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD StartedProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void PrintFigure(const char* name, double value) {
    std::printf("%s %.4f\n", name, value);
    std::fflush(stdout);
}

} // namespace bench
