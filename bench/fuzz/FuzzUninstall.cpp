// The uninstall log and the procedure that writes it, with every platform answer drawn from the
// input: printers that cannot be opened or deleted, any last-error code, directories of any
// length or none, files and registry values that come and go. The log always fits, starts and
// ends as it should, and nothing is deleted through a path cut short or after the printer stayed.
#include "FuzzCheck.h"
#include "UninstallLog.h"
#include "UninstallProcedure.h"
#include "VelloraNames.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

namespace {

constexpr std::size_t kLongestFolder = 700;
char someWindow;
char someKey;
char somePrinter;

class FuzzedPlatform final : public UninstallPlatform {
  public:
    explicit FuzzedPlatform(FuzzedDataProvider& provider) : input(provider) {}

    bool OpenPrinterForRemoval(const char*, void** printer) override {
        opened = input.ConsumeBool();
        *printer = opened ? &somePrinter : nullptr;
        return opened;
    }
    bool DeletePrinterAt(void* printer) override {
        Require(printer == &somePrinter, "only the opened printer is deleted");
        printerDeleted = input.ConsumeBool();
        return printerDeleted;
    }
    void ClosePrinterHandle(void* printer) override {
        Require(printer == &somePrinter, "only the opened printer is closed");
        ++closes;
    }
    std::int32_t LastErrorCode() override { return input.ConsumeIntegral<std::int32_t>(); }

    HWND__* FindTopLevelWindow(const char*, const char*) override {
        return input.ConsumeBool() ? reinterpret_cast<HWND__*>(&someWindow) : nullptr;
    }
    void PostRequest(HWND__* window, unsigned message) override {
        Require(window != nullptr && message == vellora::HM_EXIT, "only the host is asked to exit");
    }
    void Wait(unsigned) override {}

    std::optional<std::string> PrinterDriverDirectory() override { return Folder(); }
    std::optional<std::string> WindowsDirectory() override { return Folder(); }
    std::optional<std::string> ShellFolderPath(int) override { return Folder(); }
    bool DeleteFileAtPath(const std::string& path) override {
        CheckRemoval(path);
        return input.ConsumeBool();
    }
    bool PathExists(const std::string&) override { return input.ConsumeBool(); }
    void RemoveFolder(const std::string& path) override { CheckRemoval(path); }

    HKEY__* OpenMachineKey(const char*, KeyAccess) override {
        return input.ConsumeBool() ? reinterpret_cast<HKEY__*>(&someKey) : nullptr;
    }
    bool QueryValue(HKEY__* key, const char*) override {
        Require(key != nullptr, "only an open key is queried");
        return input.ConsumeBool();
    }
    bool DeleteValue(HKEY__* key, const char*) override {
        Require(key != nullptr, "only an open key loses its value");
        Require(printerDeleted, "the start-up value stays while the printer does");
        return input.ConsumeBool();
    }
    void CloseKey(HKEY__* key) override { Require(key != nullptr, "only an open key is closed"); }

    bool opened = false;
    bool printerDeleted = false;
    int closes = 0;

  private:
    std::optional<std::string> Folder() {
        if (!input.ConsumeBool()) {
            return std::nullopt;
        }
        return input.ConsumeRandomLengthString(kLongestFolder);
    }
    void CheckRemoval(const std::string& path) const {
        Require(printerDeleted, "nothing is removed while the printer stays");
        Require(path.size() < static_cast<std::size_t>(vellora::kPathBufferSize),
                "nothing is removed through a path that does not fit a path buffer");
    }

    FuzzedDataProvider& input;
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CheckProcedure(FuzzedDataProvider& input) {
    FuzzedPlatform platform(input);
    UninstallLog log;
    RunUninstall(platform, log);
    const std::string text = log.Text();
    Require(text.rfind("Starting uninstall...\n", 0) == 0, "the log starts with its heading");
    Require(EndsWith(text, "Uninstallation finished.\n"), "the log ends with its last line");
    Require(platform.closes == (platform.opened ? 1 : 0), "an opened printer is closed once");
    const bool gateLine = text.find(platform.printerDeleted ? "  Driver deleted...\n"
                                                            : "\tDriver") != std::string::npos;
    Require(gateLine, "the log tells what became of the printer");
}

// Whatever is appended, the log keeps what fits and stays terminated inside its buffer.
void CheckLogCapacity(FuzzedDataProvider& input) {
    UninstallLog log;
    std::string expected;
    while (input.remaining_bytes() > 0) {
        const std::string line = input.ConsumeRandomLengthString(2 * UninstallLog::kCapacity);
        const std::string visible = line.substr(0, line.find('\0'));
        if (input.ConsumeBool()) {
            log.Set(line.c_str());
            expected = visible;
        } else {
            log.Append(line.c_str());
            expected += visible;
        }
        expected = expected.substr(0, UninstallLog::kCapacity - 1);
        Require(std::strlen(log.Text()) < UninstallLog::kCapacity, "the log fits its buffer");
        Require(log.Text() == expected, "the log keeps the beginning of what was written");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        CheckProcedure(input);
    } else {
        CheckLogCapacity(input);
    }
    return 0;
}
