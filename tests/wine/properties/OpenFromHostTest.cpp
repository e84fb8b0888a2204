// The host's request 1287 runs the real properties program from the printer-driver directory
// and answers only once the user has closed its dialog.
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
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = WaitForDialog(kPropertiesCaption, 0);
            return dialog != nullptr && IsWindowVisible(dialog);
        });
        return dialog;
    }
    bool RequestPending() {
        return request.wait_for(std::chrono::milliseconds(0)) == std::future_status::timeout;
    }

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
