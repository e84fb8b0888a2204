// PlacementBench.exe overhead FILES FOLDER | across FILES SPOOL_FOLDER TARGET_FOLDER [through]
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
// across ... through: the same with a second floor that does what the host's copy must do at
// least: CopyFileA, FlushFileBuffers on the copy and DeleteFileA of the produced file. This
// floor and the host take turns going first, and the bare floor comes last in each round.
// Prints the bare floor's figures as above and this floor's as across_through_*.
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
#include <vector>

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

// The host writes its copy through to the drive before it gives it the target's name, so that
// a power cut never leaves a short file there; a bare copy leaves the writing to the system's
// cache, and so times what no careful copy can reach.
bool CopyWriteThroughAndDelete(const std::string& produced, const std::string& target) {
    bool done = CopyFileA(produced.c_str(), target.c_str(), TRUE) != 0;
    if (done) {
        const HANDLE copy = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        done = copy != INVALID_HANDLE_VALUE && FlushFileBuffers(copy);
        if (copy != INVALID_HANDLE_VALUE) {
            CloseHandle(copy);
        }
    }
    DeleteFileA(produced.c_str());
    return done;
}

using FileWork = bool (*)(const std::string& produced, const std::string& target);

LRESULT SendText(HWND host, unsigned request, const std::string& text, bool senderReleases) {
    const ATOM atom = GlobalAddAtomA(text.c_str());
    const LRESULT result = SendMessageA(host, request, atom, 0);
    if (senderReleases) {
        GlobalDeleteAtom(atom);
    }
    return result;
}

// Produced files p<n>.tif (for the host) and q<n>.tif, r<n>.tif (for the floors) in the spool
// folder, placed as d<n>.tif and e<n>.tif, f<n>.tif in the target folder.
class Placements {
  public:
    Placements(HWND hostWindow, std::string spoolFolder, std::string targetFolder,
               DWORD producedBytes)
        : host(hostWindow), spool(std::move(spoolFolder)), targets(std::move(targetFolder)),
          bytes(producedBytes) {}

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

    // The same round trips and file calls with nothing in between; floor 0 or 1.
    bool PlaceAtFloor(int first, int count, int floor, FileWork work) {
        for (int number = first; number < first + count; ++number) {
            char suffix[16];
            std::snprintf(suffix, sizeof(suffix), "%c%07d", 'e' + floor, number);
            const std::string produced = Numbered(spool, static_cast<char>('q' + floor), number);
            SendText(host, bench::kBareRequest, suffix, true);
            SendText(host, bench::kBareRequest, produced, true);
            if (!work(produced + ".tif", targets + "\\" + suffix + ".tif")) {
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
};

HWND FindHost() {
    HWND host = nullptr;
    winetest::WaitUntil([&] { return (host = FindWindowA(nullptr, vellora::kHostWindowName)); },
                        10000);
    return host;
}

// How a series is taken: the files on each side of a pair, the time unit per file that it
// keeps, in that unit's parts of a millisecond, and the floors: the first one takes turns with
// the host, a second one comes after both.
struct SeriesShape {
    int pairFiles;
    double unitsPerMs;
    std::vector<FileWork> floors;
};

// The bare copy of a second floor leaves its data in the system's cache; coming last, right
// before its targets are deleted, it adds no writing to the drive under the others' times.
std::vector<int> SideOrder(bool hostFirst, std::size_t floors) {
    std::vector<int> order = hostFirst ? std::vector<int>{-1, 0} : std::vector<int>{0, -1};
    for (int floor = 1; floor < static_cast<int>(floors); ++floor) {
        order.push_back(floor);
    }
    return order;
}

// One round: a block of files through the host and as many at each floor. Adds the time per
// file of the host and of each floor to the floor's series.
bool MeasurePair(Placements& placements, int first, int count, bool hostFirst,
                 const SeriesShape& shape, std::vector<bench::PairSeries>& series) {
    bool placed = placements.Prepare(first, count, 'p');
    for (std::size_t floor = 0; floor < shape.floors.size(); ++floor) {
        placed = placed && placements.Prepare(first, count, static_cast<char>('q' + floor));
    }
    if (!placed) {
        std::fprintf(stderr, "cannot write the produced files\n");
        return false;
    }
    double hostMs = 0;
    std::vector<double> floorMs(shape.floors.size());
    for (const int side : SideOrder(hostFirst, shape.floors.size())) {
        const double start = bench::NowMs();
        placed =
            placed && (side < 0 ? placements.PlaceThroughHost(first, count)
                                : placements.PlaceAtFloor(first, count, side, shape.floors[side]));
        (side < 0 ? hostMs : floorMs[side]) = bench::NowMs() - start;
    }
    placements.RemoveTargets(first, count, 'd');
    for (std::size_t floor = 0; floor < shape.floors.size(); ++floor) {
        placements.RemoveTargets(first, count, static_cast<char>('e' + floor));
    }
    if (!placed) {
        std::fprintf(stderr, "a placement failed\n");
        return false;
    }
    for (std::size_t floor = 0; floor < shape.floors.size(); ++floor) {
        series[floor].Add(hostMs * shape.unitsPerMs / count,
                          floorMs[floor] * shape.unitsPerMs / count);
    }
    return true;
}

// The files in rounds, the last round taking what is left; the host goes first every other
// round. One series per floor.
bool MeasureSeries(Placements& placements, int files, const SeriesShape& shape,
                   std::vector<bench::PairSeries>& series) {
    series.assign(shape.floors.size(), bench::PairSeries());
    for (int first = 0, number = 0; first < files; first += shape.pairFiles, ++number) {
        const int count = first + shape.pairFiles <= files ? shape.pairFiles : files - first;
        if (!MeasurePair(placements, first, count, number % 2 == 0, shape, series)) {
            return false;
        }
    }
    return true;
}

int MeasureOverhead(Placements& placements, int files) {
    std::vector<bench::PairSeries> series;
    if (!MeasureSeries(placements, files, {kPairFiles, 1000.0, {MoveAndFailToDelete}}, series)) {
        return 1;
    }
    bench::PrintFigure("placement_files", files);
    bench::PrintPairSeries("placement", "us", series[0]);
    return 0;
}

int MeasureAcross(Placements& placements, int files, bool writeThroughFloor) {
    std::vector<bench::PairSeries> series;
    const SeriesShape shape = writeThroughFloor
                                  ? SeriesShape{1, 1.0, {CopyWriteThroughAndDelete, CopyAndDelete}}
                                  : SeriesShape{1, 1.0, {CopyAndDelete}};
    if (!MeasureSeries(placements, files, shape, series)) {
        return 1;
    }
    bench::PrintFigure("across_files", files);
    bench::PrintPairSeries("across", "ms", series.back());
    if (writeThroughFloor) {
        bench::PrintPairSeries("across_through", "ms", series.front());
    }
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
    const bool across = mode == "across";
    const bool writeThroughFloor = across && argc == 6 && std::string(argv[5]) == "through";
    if (argc != (across ? (writeThroughFloor ? 6 : 5) : 4)) {
        std::fprintf(stderr, "usage: PlacementBench overhead FILES FOLDER | across FILES "
                             "SPOOL_FOLDER TARGET_FOLDER [through] | place COUNT FOLDER\n");
        return 2;
    }
    const int count = std::atoi(argv[2]);
    const std::string spool = argv[3];
    const std::string targets = argv[across ? 4 : 3];
    CreateDirectoryA(spool.c_str(), nullptr);
    CreateDirectoryA(targets.c_str(), nullptr);
    HWND host = FindHost();
    if (!host) {
        std::fprintf(stderr, "the host's window is not there\n");
        return 1;
    }
    Placements placements(host, spool, targets, across ? kAcrossFileBytes : kProducedFileBytes);
    if (!placements.SetRoot()) {
        std::fprintf(stderr, "the host did not take the root\n");
        return 1;
    }
    if (across) {
        return MeasureAcross(placements, count, writeThroughFloor);
    }
    return mode == "overhead" ? MeasureOverhead(placements, count) : Place(placements, count);
}
