#include "PrintJob.h"

#include "OutputFiles.h"
#include "PageFormat.h"
#include "TiffWriter.h"
#include "VelloraNames.h"

namespace vlprint {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string PagesOf(const OutputFile& file) {
    const std::string first = std::to_string(file.firstPage + 1);
    if (file.pageCount == 1) {
        return "page " + first;
    }
    return "pages " + first + "-" + std::to_string(file.firstPage + file.pageCount);
}

class Job {
  public:
    Job(const std::vector<BilevelPage>& jobPages, const PrintSettings& jobSettings,
        HostRequests& hostRequests, SpoolFolder& spoolFolder, std::ostream& reportStream,
        std::ostream& errorStream)
        : pages(jobPages), settings(jobSettings), host(hostRequests), spool(spoolFolder),
          report(reportStream), errors(errorStream),
          files(PlanOutputFiles(jobPages.size(), jobSettings.multipage)) {}

    int Run() {
        if (!AtomsCanCarryTheTexts()) {
            return kFailed;
        }
        int status = HandOverOutputRoot();
        for (std::size_t index = 0; status == kPrinted && index < files.size(); ++index) {
            status = PrintFile(index);
            const std::size_t left = files.size() - index - 1;
            if (status != kPrinted && left > 0) {
                errors << "VlPrint: " << left << " more file" << (left == 1 ? "" : "s")
                       << " not printed.\n";
            }
        }
        return status;
    }

  private:
    // A global atom holds at most 254 characters; a longer text would reach the host cut short.
    bool AtomsCanCarryTheTexts() {
        std::vector<std::string> texts;
        if (!settings.printOnFilePrompt) {
            texts.push_back(settings.outputPath);
        }
        for (std::size_t index = 0; index < files.size(); ++index) {
            texts.push_back(spool.PathFor(index));
        }
        for (const std::string& text : texts) {
            if (text.size() > static_cast<std::size_t>(vellora::kMaxAtomText)) {
                errors << "VlPrint: " << Quoted(text) << " is longer than " << vellora::kMaxAtomText
                       << " characters, the most that the host can be handed; nothing was "
                          "printed.\n";
                return false;
            }
        }
        return true;
    }

    int HandOverOutputRoot() {
        const bool prompt = settings.printOnFilePrompt;
        const HostReply reply =
            prompt ? host.PromptForOutputRoot() : host.SetOutputRoot(settings.outputPath);
        const std::string request =
            prompt ? "1285 for the output file name dialog"
                   : "1286 with the output root " + Quoted(settings.outputPath);
        if (reply.delivery != HostReply::Delivery::Answered) {
            return Unanswered(reply, request, "nothing was printed");
        }
        report << "Request " << request << ": result " << reply.result << ".\n";
        if (reply.result != 0) {
            errors << "VlPrint: the user cancelled the output file name dialog; nothing was "
                      "printed.\n";
            return kCancelled;
        }
        return kPrinted;
    }

    // One file of the job as the messages name it and the spool folder holds it.
    struct SpooledFile {
        std::string numbered; // "2 of 3 (page 2)"
        std::string which;    // "file 2 of 3 (page 2)"
        std::string nameSuffix;
        std::string stem; // the spool path without ".tif"
        std::string path;
        std::size_t bytes;
    };

    int PrintFile(std::size_t index) {
        const OutputFile& file = files[index];
        const std::string numbered = std::to_string(index + 1) + " of " +
                                     std::to_string(files.size()) + " (" + PagesOf(file) + ")";
        const std::string stem = spool.PathFor(index);
        const std::string path = stem + vellora::kOutputExtension;
        const std::vector<std::uint8_t> bytes = FileBytes(file);
        const SpooledFile spooled{numbered, "file " + numbered, file.nameSuffix, stem,
                                  path,     bytes.size()};
        if (!spool.Write(path, bytes)) {
            spool.Remove(path);
            errors << "VlPrint: could not write " << spooled.which << " to " << Quoted(path)
                   << ".\n";
            return kFailed;
        }
        const HostReply reply = host.SetNameSuffix(file.nameSuffix);
        if (reply.delivery != HostReply::Delivery::Answered) {
            spool.Remove(path);
            return Unanswered(reply, "1280 with the name suffix " + Quoted(file.nameSuffix),
                              spooled.which + " was not printed");
        }
        return HandOver(spooled);
    }

    int HandOver(const SpooledFile& spooled) {
        const HostReply reply = host.PlaceOutput(spooled.stem);
        const std::string request = "1281 with " + Quoted(spooled.stem);
        if (reply.delivery == HostReply::Delivery::TimedOut) {
            return Unanswered(reply, request,
                              spooled.which + " stays with the host, which removes it when done");
        }
        if (reply.delivery != HostReply::Delivery::Answered) {
            const bool stillSpooled = spool.Remove(spooled.path);
            return Unanswered(reply, request,
                              spooled.which + (stillSpooled ? " was not printed" : " may be lost"));
        }
        if (spool.Exists(spooled.path)) {
            spool.Remove(spooled.path);
            errors << "VlPrint: the host neither placed nor removed " << spooled.which
                   << "; VlPrint removed it from the spool folder.\n";
            return kFailed;
        }
        report << "File " << spooled.numbered << ", " << spooled.bytes << " bytes, name suffix "
               << Quoted(spooled.nameSuffix) << ": result " << reply.result
               << (reply.result == 0 ? ", placed" : ", discarded") << ".\n";
        if (reply.result != 0) {
            errors << "VlPrint: the host discarded " << spooled.which
                   << ": its placement was cancelled or failed.\n";
            return kCancelled;
        }
        return kPrinted;
    }

    std::vector<std::uint8_t> FileBytes(const OutputFile& file) const {
        std::vector<const BilevelPage*> filePages;
        for (std::size_t page = 0; page < file.pageCount; ++page) {
            filePages.push_back(&pages[file.firstPage + page]);
        }
        return WriteTiff(filePages, settings.compression, kDotsPerInch);
    }

    int Unanswered(const HostReply& reply, const std::string& request,
                   const std::string& consequence) {
        switch (reply.delivery) {
        case HostReply::Delivery::NotSent:
            errors << "VlPrint: no global atom could be made for the request " << request;
            break;
        case HostReply::Delivery::HostGone:
            errors << "VlPrint: the host went away during the request " << request;
            break;
        default:
            errors << "VlPrint: the host did not answer in time to the request " << request;
            break;
        }
        errors << "; " << consequence << ".\n";
        return reply.delivery == HostReply::Delivery::NotSent ? kFailed : kHostUnreachable;
    }

    const std::vector<BilevelPage>& pages;
    const PrintSettings& settings;
    HostRequests& host;
    SpoolFolder& spool;
    std::ostream& report;
    std::ostream& errors;
    const std::vector<OutputFile> files;
};

} // namespace

int RunPrintJob(const std::vector<BilevelPage>& pages, const PrintSettings& settings,
                HostRequests& host, SpoolFolder& spool, std::ostream& report,
                std::ostream& errors) {
    return Job(pages, settings, host, spool, report, errors).Run();
}

} // namespace vlprint
