// One sender of the host fuzz, as a driver would send: texts in new global atoms (or numbers that
// name none), SendMessage with a deadline, the atom released afterwards unless the request is
// one whose atom the host releases.
#include "FuzzTexts.h"
#include "HostFuzzer.h"
#include "BenchNames.h"
#include "VelloraNames.h"
#include "WineTest.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

namespace bench {

namespace {

constexpr UINT kAnswerTimeoutMs = 120000;
constexpr ATOM kFirstStringAtom = 0xC000;

bool HostReleasesAtom(unsigned request) {
    return request == vellora::HM_SET_NAME_SUFFIX || request == vellora::HM_SET_OUTPUT_ROOT;
}

// Which of the host's windows were open when a request got no answer, a line each.
std::string DescribeHostWindows(HWND host) {
    DWORD hostProcess = 0;
    GetWindowThreadProcessId(host, &hostProcess);
    std::string lines;
    for (HWND window : winetest::FindTopLevelWindows(nullptr, nullptr, hostProcess)) {
        char className[32] = "";
        GetClassNameA(window, className, sizeof(className));
        char line[160];
        std::snprintf(line, sizeof(line), "window %p owner %p class %s%s%s caption %s\n",
                      static_cast<void*>(window), static_cast<void*>(GetWindow(window, GW_OWNER)),
                      className, IsWindowVisible(window) ? " visible" : "",
                      IsWindowEnabled(window) ? " enabled" : "",
                      winetest::WindowText(window).c_str());
        lines += line;
    }
    return lines;
}

class Sender {
  public:
    Sender(HWND hostWindow, const std::string& workFolder, std::uint32_t seed, bool dialogs)
        : host(hostWindow), folder(workFolder), random(seed), saveDialogs(dialogs) {}

    // False when the host did not answer.
    bool SendOne() {
        unsigned request = random.RequestNumber();
        if (request == vellora::HM_PROMPT_OUTPUT_ROOT && !saveDialogs) {
            request = kBareRequest;
        }
        std::string produced;
        std::string text;
        ATOM atom = 0;
        if (placementDue || (request == vellora::HM_PLACE_OUTPUT && random.Chance(90))) {
            request = NextDocumentRequest(text, produced);
            atom = AddAtom(text);
        } else {
            text = TextFor(request, produced);
            atom = random.Chance(85) || OnlyValidRoot(request) ? AddAtom(text) : 0;
        }
        const WPARAM wParam = atom != 0 ? atom : NumberNamingNoAtom();
        DWORD_PTR result = 0;
        const bool answered = SendMessageTimeoutA(host, request, wParam, 0, SMTO_NORMAL,
                                                  kAnswerTimeoutMs, &result) != 0;
        if (!answered) {
            unansweredDetail += "request " + std::to_string(request) + " text " + text + "\n" +
                                DescribeHostWindows(host);
        }
        if (atom != 0 && !HostReleasesAtom(request)) {
            GlobalDeleteAtom(atom);
        }
        if (!produced.empty()) {
            CheckProducedFileGone(produced, answered && atom != 0);
        }
        return answered;
    }

    void WriteReport(int answered, int unanswered) const {
        std::ofstream report(folder + "\\report.txt", std::ios::binary);
        report << "answered " << answered << "\nunanswered " << unanswered << "\nleft "
               << producedLeft << "\n"
               << unansweredDetail;
        for (const std::string& text : atomTexts) {
            report << "atom " << text << "\n";
        }
    }

  private:
    // Most placements come as the driver makes them: a name of their own, then the produced
    // file, so that the overwrite question stays the exception; the other senders' requests
    // may still come in between.
    unsigned NextDocumentRequest(std::string& text, std::string& produced) {
        placementDue = !placementDue;
        if (placementDue) {
            text = "doc" + std::to_string(++documents);
            return vellora::HM_SET_NAME_SUFFIX;
        }
        text = ProducedFile();
        produced = text;
        return vellora::HM_PLACE_OUTPUT;
    }

    std::string ProducedFile() {
        char name[32];
        std::snprintf(name, sizeof(name), "\\f%07d", ++producedFiles);
        const char content[] = "II*\0produced";
        winetest::WriteFileText(folder + name + vellora::kOutputExtension,
                                std::string(content, sizeof(content)));
        return folder + name;
    }

    std::string TextFor(unsigned request, std::string& produced) {
        if (request == vellora::HM_SET_NAME_SUFFIX && random.Chance(15)) {
            return vellora::kEmptySuffixMarker;
        }
        if (request == vellora::HM_SET_OUTPUT_ROOT &&
            (random.Chance(85) || OnlyValidRoot(request))) {
            return random.RootInside(folder);
        }
        if (request == vellora::HM_PLACE_OUTPUT && random.Chance(80)) {
            produced = ProducedFile();
            return produced;
        }
        return random.AtomText(folder);
    }

    // Without the save dialog, 1286 comes only with a root that the host accepts: any other root,
    // an empty one too, makes it ask for one in the dialog.
    bool OnlyValidRoot(unsigned request) const {
        return request == vellora::HM_SET_OUTPUT_ROOT && !saveDialogs;
    }

    // Zero when the text makes no string atom (an empty text, or one like "#12" that names an
    // integer atom): the request then goes with a number that names none.
    ATOM AddAtom(const std::string& text) {
        const ATOM atom = GlobalAddAtomA(text.c_str());
        if (atom < kFirstStringAtom) {
            return 0;
        }
        atomTexts.insert(text);
        return atom;
    }

    WPARAM NumberNamingNoAtom() {
        if (random.Chance(50)) {
            return 0;
        }
        if (random.Chance(50)) {
            return 0x10000u + static_cast<WPARAM>(random.Below(0x10000));
        }
        char name[8];
        for (;;) {
            const auto number = static_cast<ATOM>(0xF000 + random.Below(0x1000));
            if (GlobalGetAtomNameA(number, name, sizeof(name)) == 0) {
                return number;
            }
        }
    }

    // Once the host has answered 1281 with the produced file's path, it has moved or deleted
    // the file: nothing here holds it open. A file whose path never reached the host is simply
    // cleared away.
    void CheckProducedFileGone(const std::string& produced, bool handedOver) {
        const std::string file = produced + vellora::kOutputExtension;
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return;
        }
        producedLeft += handedOver ? 1 : 0;
        DeleteFileA(file.c_str());
    }

    HWND host;
    std::string folder;
    FuzzRandom random;
    bool saveDialogs;
    int producedFiles = 0;
    int documents = 0;
    bool placementDue = false;
    int producedLeft = 0;
    std::string unansweredDetail;
    std::set<std::string> atomTexts;
};

} // namespace

int RunFuzzSender(HWND host, int requests, const std::string& folder, std::uint32_t seed,
                  bool saveDialogs) {
    Sender sender(host, folder, seed, saveDialogs);
    int answered = 0;
    for (int sent = 0; sent < requests && IsWindow(host); ++sent) {
        answered += sender.SendOne() ? 1 : 0;
    }
    sender.WriteReport(answered, requests - answered);
    return answered == requests ? 0 : 1;
}

} // namespace bench
