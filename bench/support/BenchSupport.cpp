#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace bench {

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string SiblingPath(const std::string& fileName) {
    char own[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, own, sizeof(own));
    std::string folder(own, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + fileName;
}

double Quantile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const double position = share * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    if (below + 1 >= values.size()) {
        return values.back();
    }
    const double weight = position - static_cast<double>(below);
    return values[below] + (values[below + 1] - values[below]) * weight;
}

double Median(std::vector<double> values) {
    return Quantile(std::move(values), 0.5);
}

void PairSeries::Add(double measuredTime, double floorTime) {
    measured.push_back(measuredTime);
    floor.push_back(floorTime);
    ratios.push_back(measuredTime / floorTime);
}

namespace {

constexpr const char* kManagedValue = "Managed";

} // namespace

UnmanagedWindows::UnmanagedWindows(const std::string& programFile) {
    const std::string key = "Software\\Wine\\AppDefaults\\" + programFile + "\\X11 Driver";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(settings, kManagedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    }
}

UnmanagedWindows::~UnmanagedWindows() {
    if (settings) {
        RegDeleteValueA(settings, kManagedValue);
        RegCloseKey(settings);
    }
}

void PrintFigure(const char* name, double value) {
    std::printf("%s %.4f\n", name, value);
    std::fflush(stdout);
}

void PrintPairSeries(const std::string& name, const std::string& unit, const PairSeries& series) {
    PrintFigure((name + "_pairs").c_str(), static_cast<double>(series.ratios.size()));
    PrintFigure((name + "_" + unit).c_str(), Median(series.measured));
    PrintFigure((name + "_floor_" + unit).c_str(), Median(series.floor));
    PrintFigure((name + "_ratio").c_str(), Median(series.ratios));
    PrintFigure((name + "_ratio_q1").c_str(), Quantile(series.ratios, 0.25));
    PrintFigure((name + "_ratio_q3").c_str(), Quantile(series.ratios, 0.75));
}

} // namespace bench
