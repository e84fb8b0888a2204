#include "OutputFiles.h"

#include "VelloraNames.h"

namespace vlprint {

namespace {

std::string PageNumberSuffix(std::size_t page) {
    std::string digits = std::to_string(page);
    return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

} // namespace

std::vector<OutputFile> PlanOutputFiles(std::size_t pages, bool multipage) {
    if (multipage) {
        return {{vellora::kEmptySuffixMarker, 0, pages}};
    }
    std::vector<OutputFile> files;
    for (std::size_t page = 0; page < pages; ++page) {
        files.push_back({PageNumberSuffix(page + 1), page, 1});
    }
    return files;
}

} // namespace vlprint
