// PlacementBench.exe overhead FILES FOLDER | across FILES SPOOL_FOLDER TARGET_FOLDER
//                   | place COUNT FOLDER
//
// overhead: the cost of placing one produced file through the host, as the driver does it
// (1280 with the suffix, 1281 with the produced path, a same-folder move), against the floor of
// the same work without the host's logic: two bare round trips to the host with the same atoms
// (a request number it answers with 0 at once), one MoveFileA and one failing DeleteFileA. The
// two take turns in pairs of blocks of 50 files, each going first every other pair, so that a
// slow moment of the machine hits one pair and both of its sides alike. Prints the medians of
// the microseconds per file of each side, and the median and the 25th and 75th percentiles of
// the pairs' ratios.
//
// across: the same for a 10 MB produced file placed into a folder of another drive, against
// the two bare round trips with a bare CopyFileA and DeleteFileA of the same file. A pair is
// one file through the host and one at the floor, each going first every other time. Prints
// the same figures in milliseconds per file.
//
// place: COUNT placements through the host, for the memory reading that follows.
//
// The host must be running; the folders are Windows paths, created when missing.
#include "BenchSupport.h"
#include "BenchNames.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

// Files prepared and placed at a time for the memory reading.
constexpr int kBlockFiles = 200;
// Files on each side of a pair in the overhead's series: enough that a side takes some tens of
// milliseconds, not a few scheduler time slices.
constexpr int kPairFiles = 50;
constexpr DWORD kProducedFileBytes = 1024;
constexpr DWORD kAcrossFileBytes = 10 << 20;
constexpr DWORD kWriteChunkBytes = 64 << 10;

std::string Numbered(const std::string& folder, char prefix, int number) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\%c%07d", prefix, number);
    return folder + name;
}

bool WriteProducedFile(const std::string& path, DWORD bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    static char content[kWriteChunkBytes];
    bool ok = true;
    for (DWORD offset = 0; ok && offset < bytes; offset += kWriteChunkBytes) {
        const DWORD length = bytes - offset < kWriteChunkBytes ? bytes - offset : kWriteChunkBytes;
        DWORD written = 0;
        ok = WriteFile(file, content, length, &written, nullptr) && written == length;
    }
    CloseHandle(file);
    return ok;
}

// The floor's file work for a produced file: what the host's move and its removal of the
// produced path amount to without the host.
bool MoveAndFailToDelete(const std::string& produced, const std::string& target) {
    const bool moved = MoveFileA(produced.c_str(), target.c_str()) != 0;
    DeleteFileA(produced.c_str());
    return moved;
}

bool CopyAndDelete(const std::string& produced, const std::string& target) {
    const bool copied = CopyFileA(produced.c_str(), target.c_str(), TRUE) != 0;
    DeleteFileA(produced.c_str());
    return copied;
}

LRESULT SendText(HWND host, unsigned request, const std::string& text, bool senderReleases) {
    const ATOM atom = GlobalAddAtomA(text.c_str());
    const LRESULT result = SendMessageA(host, request, atom, 0);
    if (senderReleases) {
        GlobalDeleteAtom(atom);
    }
    return result;
}

// Produced files p<n>.tif (for the host) and q<n>.tif (for the floor) in the spool folder,
// placed as d<n>.tif and e<n>.tif in the target folder.
class Placements {
  public:
    Placements(HWND hostWindow, std::string spoolFolder, std::string targetFolder,
               DWORD producedBytes, bool (*floorFileWork)(const std::string&, const std::string&))
        : host(hostWindow), spool(std::move(spoolFolder)), targets(std::move(targetFolder)),
          bytes(producedBytes), floorWork(floorFileWork) {}

    bool SetRoot() {
        return SendText(host, vellora::HM_SET_OUTPUT_ROOT, targets + "\\", false) == 0;
    }

    bool Prepare(int first, int count, char prefix) {
        for (int number = first; number < first + count; ++number) {
            if (!WriteProducedFile(Numbered(spool, prefix, number) + ".tif", bytes)) {
                return false;
            }
        }
        return true;
    }

    // What the driver does per produced file.
    bool PlaceThroughHost(int first, int count) {
        for (int number = first; number < first + count; ++number) {
            char suffix[16];
            std::snprintf(suffix, sizeof(suffix), "d%07d", number);
            SendText(host, vellora::HM_SET_NAME_SUFFIX, suffix, false);
            if (SendText(host, vellora::HM_PLACE_OUTPUT, Numbered(spool, 'p', number), true) != 0) {
                return false;
            }
        }
        return true;
    }

    // The same round trips and file calls with nothing in between.
    bool PlaceAtFloor(int first, int count) {
        for (int number = first; number < first + count; ++number) {
            char suffix[16];
            std::snprintf(suffix, sizeof(suffix), "e%07d", number);
            const std::string produced = Numbered(spool, 'q', number);
            SendText(host, bench::kBareRequest, suffix, true);
            SendText(host, bench::kBareRequest, produced, true);
            if (!floorWork(produced + ".tif", targets + "\\" + suffix + ".tif")) {
                return false;
            }
        }
        return true;
    }

    void RemoveTargets(int first, int count, char prefix) {
        for (int number = first; number < first + count; ++number) {
            DeleteFileA((Numbered(targets, prefix, number) + ".tif").c_str());
        }
    }

  private:
    HWND host;
    std::string spool;
    std::string targets;
    DWORD bytes;
    bool (*floorWork)(const std::string&, const std::string&);
};

HWND FindHost() {
    HWND host = nullptr;
    winetest::WaitUntil([&] { return (host = FindWindowA(nullptr, vellora::kHostWindowName)); },
                        10000);
    return host;
}

// How a series is taken: the files on each side of a pair, and the time unit per file that it
// keeps, in that unit's parts of a millisecond.
struct SeriesShape {
    int pairFiles;
    double unitsPerMs;
};

// One pair: a block of files through the host and as many at the floor, in the order given.
// Adds the time per file of each side to the series.
bool MeasurePair(Placements& placements, int first, int count, bool hostFirst,
                 const SeriesShape& shape, bench::PairSeries& series) {
    if (!placements.Prepare(first, count, 'p') || !placements.Prepare(first, count, 'q')) {
        std::fprintf(stderr, "cannot write the produced files\n");
        return false;
    }
    bool placed = true;
    double hostMs = 0;
    double floorMs = 0;
    for (const bool throughHost : {hostFirst, !hostFirst}) {
        const double start = bench::NowMs();
        placed = placed && (throughHost ? placements.PlaceThroughHost(first, count)
                                        : placements.PlaceAtFloor(first, count));
        (throughHost ? hostMs : floorMs) = bench::NowMs() - start;
    }
    placements.RemoveTargets(first, count, 'd');
    placements.RemoveTargets(first, count, 'e');
    if (!placed) {
        std::fprintf(stderr, "a placement failed\n");
        return false;
    }
    series.Add(hostMs * shape.unitsPerMs / count, floorMs * shape.unitsPerMs / count);
    return true;
}

// The files in pairs, the last pair taking what is left; the host goes first every other pair.
bool MeasureSeries(Placements& placements, int files, const SeriesShape& shape,
                   bench::PairSeries& series) {
    for (int first = 0, number = 0; first < files; first += shape.pairFiles, ++number) {
        const int count = first + shape.pairFiles <= files ? shape.pairFiles : files - first;
        if (!MeasurePair(placements, first, count, number % 2 == 0, shape, series)) {
            return false;
        }
    }
    return true;
}

int MeasureOverhead(Placements& placements, int files) {
    bench::PairSeries series;
    if (!MeasureSeries(placements, files, {kPairFiles, 1000.0}, series)) {
        return 1;
    }
    bench::PrintFigure("placement_files", files);
    bench::PrintPairSeries("placement", "us", series);
    return 0;
}

int MeasureAcross(Placements& placements, int files) {
    bench::PairSeries series;
    if (!MeasureSeries(placements, files, {1, 1.0}, series)) {
        return 1;
    }
    bench::PrintFigure("across_files", files);
    bench::PrintPairSeries("across", "ms", series);
    return 0;
}

int Place(Placements& placements, int count) {
    for (int first = 0; first < count; first += kBlockFiles) {
        const int block = first + kBlockFiles <= count ? kBlockFiles : count - first;
        if (!placements.Prepare(first, block, 'p') || !placements.PlaceThroughHost(first, block)) {
            std::fprintf(stderr, "a placement failed\n");
            return 1;
        }
        placements.RemoveTargets(first, block, 'd');
    }
    bench::PrintFigure("placements_done", count);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc != (mode == "across" ? 5 : 4)) {
        std::fprintf(stderr, "usage: PlacementBench overhead FILES FOLDER | across FILES "
                             "SPOOL_FOLDER TARGET_FOLDER | place COUNT FOLDER\n");
        return 2;
    }
    const int count = std::atoi(argv[2]);
    const std::string spool = argv[3];
    const std::string targets = argv[argc - 1];
    CreateDirectoryA(spool.c_str(), nullptr);
    CreateDirectoryA(targets.c_str(), nullptr);
    HWND host = FindHost();
    if (!host) {
        std::fprintf(stderr, "the host's window is not there\n");
        return 1;
    }
    const bool across = mode == "across";
    Placements placements(host, spool, targets, across ? kAcrossFileBytes : kProducedFileBytes,
                          across ? CopyAndDelete : MoveAndFailToDelete);
    if (!placements.SetRoot()) {
        std::fprintf(stderr, "the host did not take the root\n");
        return 1;
    }
    if (across) {
        return MeasureAcross(placements, count);
    }
    return mode == "overhead" ? MeasureOverhead(placements, count) : Place(placements, count);
}
