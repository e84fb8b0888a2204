// Which TIFF files a print produces and the name suffix with which each is handed to the host.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vlprint {

struct OutputFile {
    std::string nameSuffix;
    std::size_t firstPage; // counted from 0
    std::size_t pageCount;
};

// A multipage print is one file with the suffix "000", which stands for no suffix, so that it
// lands at the output root itself. Otherwise each page is a file of its own whose suffix is its
// page number in three or more digits: 001, 002, ... 1000.
std::vector<OutputFile> PlanOutputFiles(std::size_t pages, bool multipage);

} // namespace vlprint
