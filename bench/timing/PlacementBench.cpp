// PlacementBench.exe overhead FILES FOLDER | place COUNT FOLDER
//
// overhead: the cost of placing one produced file through the host, as the driver does it
// (1280 with the suffix, 1281 with the produced path, a same-folder move), against the floor of
// the same work without the host's logic: two bare round trips to the host with the same atoms
// (a request number it answers with 0 at once), one MoveFileA and one failing DeleteFileA. The
// two take turns in blocks, so that a slow moment of the machine hits both alike. Prints the
// microseconds per file of each and their ratio.
//
// place: COUNT placements through the host, for the memory reading that follows.
//
// The host must be running; FOLDER is a Windows path, created when missing.
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

constexpr int kBlockFiles = 200;
constexpr DWORD kProducedFileBytes = 1024;

std::string Numbered(const std::string& folder, char prefix, int number) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\%c%07d", prefix, number);
    return folder + name;
}

bool WriteProducedFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    static char content[kProducedFileBytes];
    DWORD written = 0;
    const bool ok =
        WriteFile(file, content, sizeof(content), &written, nullptr) && written == sizeof(content);
    CloseHandle(file);
    return ok;
}

LRESULT SendText(HWND host, unsigned request, const std::string& text, bool senderReleases) {
    const ATOM atom = GlobalAddAtomA(text.c_str());
    const LRESULT result = SendMessageA(host, request, atom, 0);
    if (senderReleases) {
        GlobalDeleteAtom(atom);
    }
    return result;
}

class Placements {
  public:
    Placements(HWND hostWindow, std::string workFolder)
        : host(hostWindow), folder(std::move(workFolder)) {}

    bool SetRoot() {
        return SendText(host, vellora::HM_SET_OUTPUT_ROOT, folder + "\\", false) == 0;
    }

    // Produced files for the next block: p<n>.tif for the host, q<n>.tif for the floor.
    bool Prepare(int first, int count, char prefix) {
        for (int number = first; number < first + count; ++number) {
            if (!WriteProducedFile(Numbered(folder, prefix, number) + ".tif")) {
                return false;
            }
        }
        return true;
    }

    // What the driver does per produced file; the target d<n>.tif lies beside it.
    bool PlaceThroughHost(int first, int count) {
        for (int number = first; number < first + count; ++number) {
            char suffix[16];
            std::snprintf(suffix, sizeof(suffix), "d%07d", number);
            SendText(host, vellora::HM_SET_NAME_SUFFIX, suffix, false);
            if (SendText(host, vellora::HM_PLACE_OUTPUT, Numbered(folder, 'p', number), true) !=
                0) {
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
            const std::string produced = Numbered(folder, 'q', number);
            SendText(host, bench::kBareRequest, suffix, true);
            SendText(host, bench::kBareRequest, produced, true);
            const std::string target = folder + "\\" + suffix + ".tif";
            if (!MoveFileA((produced + ".tif").c_str(), target.c_str())) {
                return false;
            }
            DeleteFileA((produced + ".tif").c_str());
        }
        return true;
    }

    void RemoveTargets(int first, int count, char prefix) {
        for (int number = first; number < first + count; ++number) {
            DeleteFileA((Numbered(folder, prefix, number) + ".tif").c_str());
        }
    }

  private:
    HWND host;
    std::string folder;
};

HWND FindHost() {
    HWND host = nullptr;
    winetest::WaitUntil([&] { return (host = FindWindowA(nullptr, vellora::kHostWindowName)); },
                        10000);
    return host;
}

int MeasureOverhead(Placements& placements, int files) {
    double hostMs = 0;
    double floorMs = 0;
    for (int first = 0; first < files; first += kBlockFiles) {
        const int count = first + kBlockFiles <= files ? kBlockFiles : files - first;
        if (!placements.Prepare(first, count, 'p') || !placements.Prepare(first, count, 'q')) {
            std::fprintf(stderr, "cannot write the produced files\n");
            return 1;
        }
        double start = bench::NowMs();
        const bool placed = placements.PlaceThroughHost(first, count);
        hostMs += bench::NowMs() - start;
        start = bench::NowMs();
        const bool floored = placements.PlaceAtFloor(first, count);
        floorMs += bench::NowMs() - start;
        if (!placed || !floored) {
            std::fprintf(stderr, "a placement failed\n");
            return 1;
        }
        placements.RemoveTargets(first, count, 'd');
        placements.RemoveTargets(first, count, 'e');
    }
    bench::PrintFigure("placement_files", files);
    bench::PrintFigure("placement_us", hostMs * 1000.0 / files);
    bench::PrintFigure("placement_floor_us", floorMs * 1000.0 / files);
    bench::PrintFigure("placement_ratio", hostMs / floorMs);
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
    if (argc != 4) {
        std::fprintf(stderr, "usage: PlacementBench overhead FILES FOLDER | place COUNT FOLDER\n");
        return 2;
    }
    const std::string mode = argv[1];
    const int count = std::atoi(argv[2]);
    const std::string folder = argv[3];
    CreateDirectoryA(folder.c_str(), nullptr);
    HWND host = FindHost();
    if (!host) {
        std::fprintf(stderr, "the host's window is not there\n");
        return 1;
    }
    Placements placements(host, folder);
    if (!placements.SetRoot()) {
        std::fprintf(stderr, "the host did not take the root\n");
        return 1;
    }
    return mode == "overhead" ? MeasureOverhead(placements, count) : Place(placements, count);
}
