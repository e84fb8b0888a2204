// The host's requests in any order and with any texts, in a code page drawn from the input, with
// every platform answer drawn from the input too: moves that fail for any cause, any button
// pressed, dialogs cancelled or answered with names of any length, and further requests arriving
// while a box or dialog waits, as they do through the nested message loops. Every result is 0 or
// 1, the atoms of 1280 and 1286 are released once and no other, and no file call or program
// start gets a path beyond the platform's limit.
#include "FuzzCheck.h"
#include "FuzzCodePage.h"
#include "HostWindow.h"
#include "PathBuffer.h"
#include "VelloraNames.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <map>
#include <vector>

namespace {

constexpr std::size_t kLongestAtomName = 255;
constexpr std::size_t kLongestChosenName = 450;
constexpr std::size_t kLongestDirectory = 300;
constexpr int kDeepestNesting = 3;
constexpr int kMostRequests = 64;
constexpr std::uint16_t kFirstAtom = 0xC000;

// A request being handled, innermost last.
struct Request {
    unsigned message;
    std::uintptr_t wParam;
    int atomsReleased;
};

bool ReleasesItsAtom(unsigned message) {
    return message == vellora::HM_SET_NAME_SUFFIX || message == vellora::HM_SET_OUTPUT_ROOT;
}

// File calls that fail or work as the input says, each with any of the codes a move can meet.
class FuzzedFileCalls final : public FileCalls {
  public:
    explicit FuzzedFileCalls(FuzzedDataProvider& provider) : input(provider) {}

    bool HasRenameWithoutCopy() override { return input.ConsumeBool(); }
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget) override {
        return Result(from, to);
    }
    unsigned long Move(const std::string& from, const std::string& to) override {
        return Result(from, to);
    }
    unsigned long CreatePart(const std::string& part) override { return Result(part, part); }
    unsigned long FillPart(const std::string& from) override { return Result(from, from); }
    unsigned long Delete(const std::string& path) override { return Result(path, path); }
    bool Exists(const std::string& path) override { return Result(path, path) == 0; }
    bool IsReadOnlyOrFolder(const std::string& path) override { return Result(path, path) == 0; }
    FileIdentity CompareFiles(const std::string& first, const std::string& second) override {
        const FileIdentity identities[] = {FileIdentity::same, FileIdentity::different,
                                           FileIdentity::unknown};
        return identities[Result(first, second) % std::size(identities)];
    }
    FileStamp Stamp(const std::string& path) override {
        FileStamp stamp;
        stamp.known = Result(path, path) == 0;
        stamp.written = input.ConsumeIntegralInRange(0, 1);
        return stamp;
    }
    std::string FullPath(const std::string& path) override {
        Require(FitsPathBuffer(path), "no file call gets a path beyond the limit");
        return input.ConsumeBool() ? path : std::string();
    }

  private:
    unsigned long Result(const std::string& first, const std::string& second) {
        Require(FitsPathBuffer(first) && FitsPathBuffer(second),
                "no file call gets a path beyond the limit");
        const unsigned long codes[] = {0, 2, 3, 5, 17, 32, 39, 80, 112, 120, 161, 183, 267, 9999};
        return codes[input.ConsumeIntegralInRange<std::size_t>(0, std::size(codes) - 1)];
    }

    FuzzedDataProvider& input;
};

class FuzzedHostPlatform final : public HostPlatform {
  public:
    explicit FuzzedHostPlatform(FuzzedDataProvider& provider)
        : input(provider), codePage(provider), files(provider) {}

    // Sends one request as a driver would, releasing the atom afterwards when it stays the
    // sender's.
    void Send() {
        const unsigned message = PickMessage();
        const std::uintptr_t wParam = PickWParam();
        requests.push_back({message, wParam, 0});
        const std::int32_t result = host->HandleHostMessage(message, wParam, 0);
        const Request handled = requests.back();
        requests.pop_back();
        Require(result == 0 || result == 1, "every request answers 0 or 1");
        // Only a string atom is the driver's text: an integer atom is neither read nor released.
        const bool ownAtom = ReleasesItsAtom(message) && wParam >= 0xC000 && wParam <= 0xFFFF;
        Require(handled.atomsReleased == (ownAtom ? 1 : 0),
                "the string atoms of 1280 and 1286 are released once, no other atom at all");
        if (!ownAtom) {
            atoms.erase(static_cast<std::uint16_t>(wParam));
        }
        Require(host->nameSuffix.size() <= static_cast<std::size_t>(vellora::kMaxAtomText),
                "a suffix holds at most 254 characters");
    }

    std::string ReadAtomName(std::uint16_t atom) override {
        const auto found = atoms.find(atom);
        return found == atoms.end() ? std::string() : found->second;
    }
    void DeleteAtom(std::uint16_t atom) override {
        Require(!requests.empty() && static_cast<std::uint16_t>(requests.back().wParam) == atom,
                "only the atom of the request being handled is released");
        ++requests.back().atomsReleased;
        atoms.erase(atom);
    }

    FileCalls& Files() override { return files; }

    SaveDialogAnswer AskForSaveFileName(const std::string&, const std::string&,
                                        std::string& chosenPath) override {
        RunRequestsMeanwhile();
        switch (input.ConsumeIntegralInRange(0, 2)) {
        case 1:
            chosenPath = input.ConsumeRandomLengthString(kLongestChosenName);
            return SaveDialogAnswer::chosen;
        case 2:
            return SaveDialogAnswer::nameTooLong;
        default:
            return SaveDialogAnswer::cancelled;
        }
    }
    int ShowMessageBox(const std::string&, unsigned style) override {
        Require(style == kBoxStyleOk || style == kBoxStyleOverwriteQuestion, "a known box style");
        RunRequestsMeanwhile();
        const int buttons[] = {0, kButtonYes, kButtonNo, kButtonCancel, kButtonOk};
        return buttons[input.ConsumeIntegralInRange(0, 4)];
    }

    bool PrinterDriverDirectory(std::string& directory) override {
        directory = input.ConsumeRandomLengthString(kLongestDirectory);
        return input.ConsumeBool();
    }
    void RunProgramAndWait(const std::string& programPath) override {
        Require(FitsPathBuffer(programPath), "no program is started from a path beyond the limit");
        Require(!programRunning, "the properties program is not started twice at once");
        programRunning = true;
        RunRequestsMeanwhile();
        programRunning = false;
    }
    void EndProcess(int exitCode) override { Require(exitCode == 0, "the host ends with 0"); }
    bool IsLeadByte(unsigned char byte) const override { return codePage.IsLeadByte(byte); }

    HostWindow* host = nullptr;

  private:
    unsigned PickMessage() {
        const unsigned known[] = {vellora::HM_SET_NAME_SUFFIX,
                                  vellora::HM_PLACE_OUTPUT,
                                  vellora::HM_EXIT,
                                  vellora::HM_PROMPT_OUTPUT_ROOT,
                                  vellora::HM_SET_OUTPUT_ROOT,
                                  vellora::HM_OPEN_PROPERTIES};
        const auto pick = input.ConsumeIntegralInRange<std::size_t>(0, 7);
        if (pick < 6) {
            return known[pick];
        }
        return pick == 6 ? input.ConsumeIntegralInRange(1024u, 2047u)
                         : input.ConsumeIntegral<unsigned>();
    }

    // A new atom with a text of up to 255 characters, or a number that may name nothing.
    std::uintptr_t PickWParam() {
        if (input.ConsumeBool()) {
            return input.ConsumeIntegral<std::uintptr_t>();
        }
        const std::uint16_t atom = nextAtom++;
        atoms[atom] = input.ConsumeRandomLengthString(kLongestAtomName);
        return atom;
    }

    void RunRequestsMeanwhile() {
        if (static_cast<int>(requests.size()) > kDeepestNesting) {
            return;
        }
        while (input.ConsumeBool()) {
            Send();
        }
    }

    FuzzedDataProvider& input;
    const FuzzCodePage codePage;
    FuzzedFileCalls files;
    std::map<std::uint16_t, std::string> atoms;
    std::vector<Request> requests;
    std::uint16_t nextAtom = kFirstAtom;
    bool programRunning = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzedHostPlatform platform(input);
    HostWindow host(platform);
    platform.host = &host;
    for (int request = 0; request < kMostRequests && input.remaining_bytes() > 0; ++request) {
        platform.Send();
    }
    return 0;
}
