#include "HostFuzzer.h"

#include "BenchSupport.h"
#include "BoxAnswerer.h"
#include "TreeSnapshot.h"
#include "BenchNames.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

namespace bench {

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kAnswerTimeoutMs = 10000;
constexpr DWORD kSendersTimeoutPerRequestMs = 1000;

// The folder, empty, with every folder above it.
void MakeFreshFolder(const std::string& path) {
    winetest::RemoveTree(path);
    for (auto separator = path.find('\\', 3); separator != std::string::npos;
         separator = path.find('\\', separator + 1)) {
        CreateDirectoryA(path.substr(0, separator).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

std::string SenderFolder(const HostFuzzPlan& plan, int sender) {
    return plan.folder + "\\s" + std::to_string(sender);
}

// The properties program's stand-in in the printer-driver directory for the length of the run;
// a program already there is kept aside and put back afterwards.
class PropertiesStandIn {
  public:
    PropertiesStandIn()
        : path(winetest::PrinterDriverDirectory() + "\\" + vellora::kPropertiesProgramFile),
          aside(path + ".beforefuzz") {
        MoveFileA(path.c_str(), aside.c_str());
        placed = CopyFileA(SiblingPath("QuickExit.exe").c_str(), path.c_str(), FALSE) != 0;
    }
    ~PropertiesStandIn() {
        DeleteFileA(path.c_str());
        MoveFileA(aside.c_str(), path.c_str());
    }
    PropertiesStandIn(const PropertiesStandIn&) = delete;
    PropertiesStandIn& operator=(const PropertiesStandIn&) = delete;

    bool placed = false;

  private:
    std::string path;
    std::string aside;
};

LRESULT SendText(HWND host, unsigned request, const std::string& text) {
    const ATOM atom = GlobalAddAtomA(text.c_str());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(host, request, atom, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result)) {
        result = static_cast<DWORD_PTR>(-1);
    }
    if (request == vellora::HM_PLACE_OUTPUT) {
        GlobalDeleteAtom(atom);
    }
    return static_cast<LRESULT>(result);
}

bool HostAnswers(HWND host) {
    DWORD_PTR result = 1;
    return SendMessageTimeoutA(host, kBareRequest, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               &result) != 0 &&
           result == 0;
}

// A plain placement, as the driver makes it, still works.
bool HostPlacesFile(HWND host, const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string produced = folder + "\\produced";
    std::ofstream(produced + vellora::kOutputExtension) << "II*";
    const bool answered = SendText(host, vellora::HM_SET_OUTPUT_ROOT, folder + "\\") == 0 &&
                          SendText(host, vellora::HM_SET_NAME_SUFFIX, "placed") == 0 &&
                          SendText(host, vellora::HM_PLACE_OUTPUT, produced) == 0;
    return answered &&
           GetFileAttributesA((folder + "\\placed.tif").c_str()) != INVALID_FILE_ATTRIBUTES &&
           GetFileAttributesA((produced + ".tif").c_str()) == INVALID_FILE_ATTRIBUTES;
}

void ReadSenderReport(const std::string& path, HostFuzzReport& report,
                      std::set<std::string>& atomTexts) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    int answered = 0;
    int unanswered = 0;
    int left = 0;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "atom") {
            atomTexts.insert(line.substr(5));
        } else if (key == "answered") {
            words >> answered;
        } else if (key == "unanswered") {
            words >> unanswered;
        } else if (key == "left") {
            words >> left;
        } else if (key == "request" || key == "window") {
            std::fprintf(stderr, "unanswered: %s\n", line.c_str());
        }
    }
    report.requestsSent += answered;
    report.unanswered += unanswered;
    report.producedFilesLeft += left;
}

// Starts the senders at once and waits for the last; an unfinished sender's requests count as
// unanswered.
void RunSenders(const HostFuzzPlan& plan, HWND host, HostFuzzReport& report,
                std::set<std::string>& atomTexts) {
    std::vector<std::unique_ptr<winetest::Process>> senders;
    for (int sender = 0; sender < plan.senders; ++sender) {
        const int share = plan.requests / plan.senders + (sender < plan.requests % plan.senders);
        const std::string folder = SenderFolder(plan, sender);
        MakeFreshFolder(folder);
        std::ostringstream commandLine;
        commandLine << "\"" << SiblingPath("HostFuzz.exe") << "\" send "
                    << reinterpret_cast<std::uintptr_t>(host) << " " << share << " \"" << folder
                    << "\" " << plan.seed * 31u + static_cast<unsigned>(sender) << " "
                    << (plan.saveDialogs ? 1 : 0);
        senders.push_back(std::make_unique<winetest::Process>(commandLine.str()));
    }
    const DWORD deadline =
        60000 + kSendersTimeoutPerRequestMs * static_cast<DWORD>(plan.requests / plan.senders);
    for (int sender = 0; sender < plan.senders; ++sender) {
        if (!senders[sender]->WaitForExit(deadline)) {
            report.unanswered += plan.requests / plan.senders;
            continue;
        }
        ReadSenderReport(SenderFolder(plan, sender) + "\\report.txt", report, atomTexts);
    }
}

int CountAtomsLeft(const std::set<std::string>& atomTexts) {
    int left = 0;
    for (const std::string& text : atomTexts) {
        if (GlobalFindAtomA(text.c_str()) != 0) {
            ++left;
        }
    }
    return left;
}

} // namespace

HostFuzzReport RunHostFuzz(const HostFuzzPlan& plan) {
    HostFuzzReport report;
    MakeFreshFolder(plan.folder);
    CreateDirectoryA((plan.folder + "\\cwd").c_str(), nullptr);
    CreateDirectoryA((plan.folder + "\\chosen").c_str(), nullptr);
    PropertiesStandIn standIn;
    // Every box of the fuzz would otherwise cost Wine's two-second wait for a window manager.
    const bench::UnmanagedWindows unmanaged(vellora::kHostProgramFile);
    const TreeSnapshot before = TreeSnapshot::OfDriveExcept("C:", plan.folder);
    const std::string hostPath = SiblingPath(vellora::kHostProgramFile);
    winetest::Process host(hostPath, "\"" + hostPath + "\"", plan.folder + "\\cwd");
    const HWND window = standIn.placed && host.Started()
                            ? winetest::WaitForWindow(nullptr, vellora::kHostWindowName, host.Id(),
                                                      kWindowTimeoutMs)
                            : nullptr;
    if (!window) {
        return report;
    }
    report.started = true;
    std::set<std::string> atomTexts;
    {
        BoxAnswerer answerer(host.Id(), plan.folder + "\\chosen", plan.seed, plan.saveDialogs);
        RunSenders(plan, window, report, atomTexts);
        report.hostAnswersAtEnd = HostAnswers(window);
        report.hostPlacesAtEnd = HostPlacesFile(window, plan.folder + "\\final");
        report.boxesAnswered = answerer.BoxesAnswered();
        report.dialogsAnswered = answerer.DialogsAnswered();
    }
    report.atomsLeft = CountAtomsLeft(atomTexts);
    report.touchedOutside = TreeSnapshot::OfDriveExcept("C:", plan.folder).ChangedSince(before);
    PostMessageA(window, vellora::HM_EXIT, 0, 0);
    report.hostEndsOnExitRequest = host.WaitForExit(kAnswerTimeoutMs) && host.ExitCode() == 0;
    return report;
}

} // namespace bench
