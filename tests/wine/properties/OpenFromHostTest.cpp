// The host's request 1287 runs the real properties program from the printer-driver directory
// and answers only once the user has closed its dialog, also when that dialog is one that the
// user had opened before; a second start shows no second dialog, but its own where none shows.
#include "PropertiesProgram.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace winetest;

namespace {

constexpr UINT kUnknownRequest = 2000;

std::string ProcessImage(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    char image[MAX_PATH] = "";
    DWORD size = sizeof(image);
    QueryFullProcessImageNameA(process, 0, image, &size);
    CloseHandle(process);
    return image;
}

class OpenFromHost : public testing::Test {
  protected:
    void SetUp() override {
        RemoveSettingsFile();
        const std::string directory = PrinterDriverDirectory();
        CreateDirectoryA(directory.c_str(), nullptr);
        installed = directory + "\\" + vellora::kPropertiesProgramFile;
        ASSERT_TRUE(
            CopyFileA(BinPath(vellora::kPropertiesProgramFile).c_str(), installed.c_str(), FALSE));
        ASSERT_NE(hostWindow, nullptr);
    }
    void TearDown() override {
        PostMessageA(hostWindow, vellora::HM_EXIT, 0, 0);
        host.WaitForExit();
        RemoveSettingsFile();
    }

    // Sends 1287 and waits for the dialog it brings up; the request stays pending meanwhile.
    HWND OpenProperties() {
        request = SendAsync(hostWindow, vellora::HM_OPEN_PROPERTIES, 0, 0);
        return VisibleDialog(kDefaultTimeoutMs);
    }
    static HWND VisibleDialog(DWORD timeoutMs) {
        HWND dialog = nullptr;
        const auto visible = [&] {
            dialog = WaitForDialog(kPropertiesCaption, 0);
            return dialog != nullptr && IsWindowVisible(dialog);
        };
        return WaitUntil(visible, timeoutMs) ? dialog : nullptr;
    }
    bool RequestPending() {
        return request.wait_for(std::chrono::milliseconds(0)) == std::future_status::timeout;
    }
    // Once a window of the test has the foreground, the dialog takes it only when a second start
    // brings it to the front; it is the one dialog then.
    bool ComesToTheFrontAlone(HWND dialog) {
        return WaitUntil([&] { return GetForegroundWindow() == dialog; }) &&
               FindTopLevelWindows("#32770", kPropertiesCaption).size() == 1;
    }
    struct ForegroundWindow {
        ForegroundWindow() { SetForegroundWindow(window); }
        ~ForegroundWindow() { DestroyWindow(window); }
        HWND window = CreateWindowA("STATIC", "a window of the test", WS_POPUP | WS_VISIBLE, 0, 0,
                                    50, 50, nullptr, nullptr, nullptr, nullptr);
    };

    Process host{"\"" + BinPath(vellora::kHostProgramFile) + "\""};
    HWND hostWindow = WaitForWindow(nullptr, vellora::kHostWindowName, host.Id());
    std::string installed;
    std::future<LRESULT> request;
};

} // namespace

TEST_F(OpenFromHost, runs_the_installed_program_and_answers_once_ok_was_pressed) {
    HWND dialog = OpenProperties();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(lstrcmpiA(ProcessImage(dialog).c_str(), installed.c_str()), 0)
        << ProcessImage(dialog);
    // The host's thread waits for the program: nothing reaches it meanwhile.
    EXPECT_EQ(SendWithDeadline(hostWindow, kUnknownRequest, 0, 0, 1000), -1);
    EXPECT_TRUE(RequestPending());
    SendWithDeadline(GetDlgItem(dialog, 1003), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_EQ(request.get(), 0);
    EXPECT_EQ(StoredSetting("Setup", "CompressionType"), "0");
    EXPECT_EQ(SendWithDeadline(hostWindow, kUnknownRequest, 0, 0), 0);
}

TEST_F(OpenFromHost, cancel_answers_the_request_and_writes_nothing) {
    HWND dialog = OpenProperties();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(RequestPending());
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_EQ(request.get(), 0);
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    // The host starts the program again on the next request.
    dialog = OpenProperties();
    ASSERT_NE(dialog, nullptr);
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(request.get(), 0);
}

// From the Start menu, say, while the host's dialog is open.
TEST_F(OpenFromHost, a_second_start_brings_the_open_dialog_to_the_front_and_ends_with_it) {
    HWND dialog = OpenProperties();
    ASSERT_NE(dialog, nullptr);
    const ForegroundWindow test;
    ASSERT_EQ(GetForegroundWindow(), test.window);
    Process second("\"" + installed + "\"");
    EXPECT_TRUE(ComesToTheFrontAlone(dialog));
    EXPECT_TRUE(second.Running());
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(request.get(), 0);
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
}

// The host's request while the user's own dialog is open waits for that one, as for its own.
TEST_F(OpenFromHost,
       request_while_a_dialog_is_open_brings_it_to_the_front_and_answers_once_closed) {
    PropertiesProgram first(installed);
    ASSERT_TRUE(first.Opened());
    const ForegroundWindow test;
    request = SendAsync(hostWindow, vellora::HM_OPEN_PROPERTIES, 0, 0);
    EXPECT_TRUE(ComesToTheFrontAlone(first.Dialog()));
    EXPECT_TRUE(RequestPending());
    first.Press(IDCANCEL);
    ASSERT_TRUE(first.Ended());
    EXPECT_EQ(request.get(), 0);
    EXPECT_FALSE(FileExists(SettingsFilePath()));
}

// The claim's name held by the test as by a copy that ends after its dialog closed (let go of
// after a second) or by any other program (never): the started copy shows its own dialog, once
// the claim is its own or after 10 s.
struct ClaimRow {
    DWORD heldMs;
    DWORD dialogWithinMs;
};
constexpr ClaimRow kClaimRows[] = {{1000, 5000}, {INFINITE, 15000}};

TEST_F(OpenFromHost, a_start_that_finds_no_dialog_to_bring_to_the_front_shows_its_own) {
    for (const ClaimRow& row : kClaimRows) {
        const HANDLE held = CreateMutexA(nullptr, TRUE, "Vellora 9x properties dialog");
        request = SendAsync(hostWindow, vellora::HM_OPEN_PROPERTIES, 0, 0);
        if (row.heldMs != INFINITE) {
            EXPECT_EQ(VisibleDialog(row.heldMs), nullptr);
            ReleaseMutex(held);
        }
        const HWND dialog = VisibleDialog(row.dialogWithinMs);
        ASSERT_NE(dialog, nullptr) << row.heldMs;
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_EQ(request.get(), 0);
        CloseHandle(held);
    }
}
