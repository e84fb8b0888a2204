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

std::string SiblingPath(const std::string& fileName) {
    char own[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, own, sizeof(own));
    std::string folder(own, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + fileName;
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
