#include "SoakRun.h"

#include "BenchSupport.h"
#include "HostConnection.h"
#include "OutputFiles.h"
#include "PageFormat.h"
#include "PageRenderer.h"
#include "PrintJob.h"
#include "TempSpoolFolder.h"
#include "TextLayout.h"
#include "TiffWriter.h"
#include "VelloraNames.h"

#include <map>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

namespace bench {

namespace {

using vlprint::Compression;

constexpr Compression kCompressions[] = {Compression::PackBits, Compression::None,
                                         Compression::Lzw};
constexpr int kCompressionCount = 3;

// The n-th document's choices cycle through every compression, both multipage settings and
// one or two pages, so that single-file, multi-file and one-page jobs all occur.
struct DocumentChoice {
    Compression compression;
    bool multipage;
    bool twoPages;
};

DocumentChoice ChoiceFor(int document) {
    return {kCompressions[document % kCompressionCount], (document / kCompressionCount) % 2 == 0,
            (document / (2 * kCompressionCount)) % 2 == 1};
}

bool Render(int pages, std::vector<vlprint::BilevelPage>& rendered) {
    vlprint::RenderedDocument document;
    if (!vlprint::RenderDocument(vlprint::TestPagesDocument(pages), document)) {
        return false;
    }
    rendered = std::move(document.pages);
    return true;
}

bool FileSize(const std::string& path, unsigned long long& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

class Soak {
  public:
    Soak(HWND host, unsigned requestTimeoutMs, std::string outputFolder)
        : connection(host, requestTimeoutMs), folder(std::move(outputFolder)) {}

    bool Prepare() { return spool.Ready() && Render(1, onePage) && Render(2, twoPages); }

    void Print(int document) {
        const DocumentChoice choice = ChoiceFor(document);
        const std::vector<vlprint::BilevelPage>& pages = choice.twoPages ? twoPages : onePage;
        vlprint::PrintSettings settings;
        settings.printOnFilePrompt = false;
        settings.outputPath = folder + "\\doc" + std::to_string(document);
        settings.compression = choice.compression;
        settings.multipage = choice.multipage;
        std::ostream discarded(nullptr);
        if (vlprint::RunPrintJob(pages, settings, connection, spool, discarded, discarded) !=
            vlprint::kPrinted) {
            ++counts.failedJobs;
        }
        Check(pages, settings);
        ++counts.documents;
    }

    SoakCounts& Counts() { return counts; }

  private:
    void Check(const std::vector<vlprint::BilevelPage>& pages,
               const vlprint::PrintSettings& settings) {
        const std::vector<vlprint::OutputFile> files =
            vlprint::PlanOutputFiles(pages.size(), settings.multipage);
        for (std::size_t index = 0; index < files.size(); ++index) {
            CheckTarget(pages, settings, files[index]);
            const std::string spooled = spool.PathFor(index) + vellora::kOutputExtension;
            if (spool.Exists(spooled)) {
                ++counts.spoolFilesLeft;
                spool.Remove(spooled);
            }
        }
    }

    void CheckTarget(const std::vector<vlprint::BilevelPage>& pages,
                     const vlprint::PrintSettings& settings, const vlprint::OutputFile& file) {
        const bool bare = file.nameSuffix == vellora::kEmptySuffixMarker;
        const std::string target =
            settings.outputPath + (bare ? "" : file.nameSuffix) + vellora::kOutputExtension;
        unsigned long long size = 0;
        if (!FileSize(target, size)) {
            ++counts.filesMissing;
            return;
        }
        ++(size == WrittenSize(pages, settings.compression, file) ? counts.filesPlaced
                                                                  : counts.filesDamaged);
        DeleteFileA(target.c_str());
    }

    // The size of the file as the job writes it, worked out once for each kind of file.
    unsigned long long WrittenSize(const std::vector<vlprint::BilevelPage>& pages,
                                   Compression compression, const vlprint::OutputFile& file) {
        const auto key = std::make_tuple(pages.size(), compression, file.firstPage, file.pageCount);
        const auto known = sizes.find(key);
        if (known != sizes.end()) {
            return known->second;
        }
        std::vector<const vlprint::BilevelPage*> filePages;
        for (std::size_t page = 0; page < file.pageCount; ++page) {
            filePages.push_back(&pages[file.firstPage + page]);
        }
        const unsigned long long size =
            vlprint::WriteTiff(filePages, compression, vlprint::kDotsPerInch).size();
        sizes.emplace(key, size);
        return size;
    }

    vlprint::HostConnection connection;
    vlprint::TempSpoolFolder spool;
    std::string folder;
    std::vector<vlprint::BilevelPage> onePage;
    std::vector<vlprint::BilevelPage> twoPages;
    std::map<std::tuple<std::size_t, Compression, std::size_t, std::size_t>, unsigned long long>
        sizes;
    SoakCounts counts;
};

} // namespace

bool SoakCounts::Clean(int wantedDocuments) const {
    return prepared && documents == wantedDocuments && failedJobs == 0 && filesMissing == 0 &&
           filesDamaged == 0 && spoolFilesLeft == 0 && filesPlaced > 0;
}

SoakCounts RunSoak(int documents, const std::string& folder, HWND host, unsigned requestTimeoutMs) {
    Soak soak(host, requestTimeoutMs, folder);
    if (!soak.Prepare()) {
        return soak.Counts();
    }
    soak.Counts().prepared = true;
    const double start = NowMs();
    for (int document = 0; document < documents; ++document) {
        soak.Print(document);
    }
    if (documents > 0) {
        soak.Counts().msPerDocument = (NowMs() - start) / documents;
    }
    return soak.Counts();
}

} // namespace bench
