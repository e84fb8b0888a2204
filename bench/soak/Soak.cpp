// Soak.exe DOCUMENTS FOLDER
//
// Prints DOCUMENTS documents through the running host, each as the driver prints it, into fresh
// output roots in FOLDER (a Windows path, created when missing), and checks after each that all
// its files were placed whole and none stayed in the spool folder. Prints the counts; the exit
// code is 0 only when everything was printed and placed and nothing was left behind.
#include "BenchSupport.h"
#include "HostConnection.h"
#include "SoakRun.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr unsigned kHostWaitMs = 10000;
constexpr unsigned kRequestTimeoutMs = 30000;

void PrintCounts(const bench::SoakCounts& counts) {
    bench::PrintFigure("soak_documents", counts.documents);
    bench::PrintFigure("soak_files_placed", counts.filesPlaced);
    bench::PrintFigure("soak_files_missing", counts.filesMissing);
    bench::PrintFigure("soak_files_damaged", counts.filesDamaged);
    bench::PrintFigure("soak_spool_files_left", counts.spoolFilesLeft);
    bench::PrintFigure("soak_failed_jobs", counts.failedJobs);
    bench::PrintFigure("soak_ms_per_document", counts.msPerDocument);
}

} // namespace

int main(int argc, char** argv) {
    const int documents = argc == 3 ? std::atoi(argv[1]) : 0;
    if (documents <= 0) {
        std::fprintf(stderr, "usage: Soak DOCUMENTS FOLDER\n");
        return 2;
    }
    const std::string folder = argv[2];
    CreateDirectoryA(folder.c_str(), nullptr);
    HWND host = vlprint::FindHostWindow(kHostWaitMs);
    if (!host) {
        std::fprintf(stderr, "the host's window is not there\n");
        return 2;
    }
    const bench::SoakCounts counts = bench::RunSoak(documents, folder, host, kRequestTimeoutMs);
    if (!counts.prepared) {
        std::fprintf(stderr, "cannot render the document or have the spool folder\n");
        return 2;
    }
    PrintCounts(counts);
    return counts.Clean(documents) ? 0 : 1;
}
