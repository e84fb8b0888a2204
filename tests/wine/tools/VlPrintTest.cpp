// The road of a document: VlPrint prints as the driver does, the real host places the files,
// a user answers the host's dialog and boxes, and libtiff's and ImageMagick's own programs
// read what landed.
#include "HostUnderTest.h"

#include "VelloraNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace winetest;
using namespace hosttest;

namespace {

constexpr DWORD kPrintTimeoutMs = 120000;

std::string Question(const std::string& target) {
    return "A file named\n" + target +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, 0, nullptr);
}

// A console program's text output ends its lines with "\r\n".
std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

struct Finished {
    DWORD exitCode;
    std::string out;
    std::string err;
};

// A program started with its standard output and error going to files of their own.
class Captured {
  public:
    explicit Captured(const std::string& commandLine) {
        CreateDirectoryA("C:\\vtest", nullptr);
        HANDLE out = InheritableFile(kOut);
        HANDLE err = InheritableFile(kErr);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = err;
        std::string line = commandLine;
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process)) {
            process = {};
        }
        CloseHandle(out);
        CloseHandle(err);
    }
    ~Captured() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;

    // Waits for the end; an exit code of 99 means that it had to be ended.
    Finished Finish(DWORD timeoutMs = kPrintTimeoutMs) {
        Finished finished{99, "", ""};
        if (!process.hProcess) {
            return finished;
        }
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        GetExitCodeProcess(process.hProcess, &finished.exitCode);
        finished.out = WithoutCarriageReturns(ReadFileText(kOut));
        finished.err = WithoutCarriageReturns(ReadFileText(kErr));
        return finished;
    }

  private:
    static constexpr const char* kOut = "C:\\vtest\\stdout.txt";
    static constexpr const char* kErr = "C:\\vtest\\stderr.txt";
    PROCESS_INFORMATION process = {};
};

std::string Describe(const Finished& finished) {
    return "exit code " + std::to_string(finished.exitCode) + "\n" + finished.out + finished.err;
}

// VlPrint started with the arguments; it runs until Finish() while the test answers boxes.
std::unique_ptr<Captured> StartPrint(const std::string& arguments) {
    return std::make_unique<Captured>("\"" + BinPath("VlPrint.exe") + "\" --timeout 90 " +
                                      arguments);
}

Finished Print(const std::string& arguments) {
    return StartPrint(arguments)->Finish();
}

// Wine starts Linux programs too; they are given Linux paths.
std::string UnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unixPath = toUnix ? toUnix(wide) : nullptr;
    const std::string path = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return path;
}

// What a Linux reader prints about the file, its complaints included. Wine starts a Linux
// program without waiting for its end, so a shell moves the finished output into place.
std::string ReaderSays(const std::string& reader, const std::string& file) {
    const std::string output = "C:\\vtest\\reader.txt";
    DeleteFileA(output.c_str());
    // The script travels inside double quotes of the command line, its own quotes escaped.
    const std::string script = reader + R"( \"$0\" > \"$1.part\" 2>&1; mv \"$1.part\" \"$1\")";
    Captured("Z:\\bin\\sh -c \"" + script + "\" \"" + UnixPath(file) + "\" \"" + UnixPath(output) +
             "\"");
    WaitUntil([&] { return FileExists(output); });
    return ReadFileText(output);
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Checks that libtiff decodes every page without a complaint and ImageMagick sees them as
// bilevel A4 pages at 150 dpi with the compression.
void ExpectReadableTiff(const std::string& file, std::size_t pages, const char* scheme,
                        const char* imageMagickName) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(FileExists(file));
    const std::string info = ReaderSays("tiffinfo -D", file);
    EXPECT_EQ(Count(info, "TIFF Directory at offset"), pages) << info;
    EXPECT_EQ(Count(info, std::string("Compression Scheme: ") + scheme), pages) << info;
    EXPECT_EQ(Count(info, "Image Width: 1240 Image Length: 1754"), pages) << info;
    EXPECT_EQ(info.find("rror"), std::string::npos) << info;
    EXPECT_EQ(info.find("arning"), std::string::npos) << info;
    std::string expected;
    for (std::size_t page = 0; page < pages; ++page) {
        expected += std::to_string(page) + " 1240x1754 1 Bilevel " + imageMagickName + " 150\n";
    }
    EXPECT_EQ(ReaderSays("identify -format '%p %wx%h %z %[type] %C %x\\n'", file), expected);
}

void WriteSettings(const char* prompt, const std::string& path, const char* compression,
                   const char* multipage) {
    const std::string ini = WindowsDirectory() + "\\" + vellora::kSettingsFile;
    WritePrivateProfileStringA(vellora::kSettingsSection, vellora::kKeyPrintOnFilePrompt, prompt,
                               ini.c_str());
    WritePrivateProfileStringA(vellora::kSettingsSection, vellora::kKeyOutputPath, path.c_str(),
                               ini.c_str());
    WritePrivateProfileStringA(vellora::kSettingsSection, vellora::kKeyCompressionType, compression,
                               ini.c_str());
    WritePrivateProfileStringA(vellora::kSettingsSection, vellora::kKeyMultipage, multipage,
                               ini.c_str());
}

std::string SpoolFolder() {
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof(temporary), temporary);
    return std::string(temporary) + "VelloraSpool";
}

class VlPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(host.window, nullptr);
        out = FreshFolder("out");
        DeleteFileA((WindowsDirectory() + "\\" + vellora::kSettingsFile).c_str());
        RemoveTree(SpoolFolder());
    }
    // Whatever happened, the driver's spool folder is left behind empty, and so removed.
    void TearDown() override { EXPECT_FALSE(FileExists(SpoolFolder())); }

    RunningHost host;
    std::string out;
};

} // namespace

TEST_F(VlPrint, each_compression_and_both_multipage_settings_land_as_readable_files) {
    const struct {
        const char* setting;
        const char* scheme;
        const char* imageMagickName;
    } compressions[] = {{"0", "PackBits", "RLE"}, {"1", "None", "None"}, {"2", "LZW", "LZW"}};
    for (const auto& compression : compressions) {
        SCOPED_TRACE(compression.scheme);
        const std::string root = FreshFolder(std::string("c") + compression.setting) + "\\Doc";
        WriteSettings("OFF", root, compression.setting, "1");
        Finished printed = Print("--pages 3");
        EXPECT_EQ(printed.exitCode, 0u) << printed.err;
        EXPECT_EQ(printed.err, "");
        ExpectReadableTiff(root + ".tif", 3, compression.scheme, compression.imageMagickName);

        WriteSettings("OFF", root, compression.setting, "0");
        printed = Print("--pages 3");
        EXPECT_EQ(printed.exitCode, 0u) << printed.err;
        for (const char* suffix : {"001", "002", "003"}) {
            ExpectReadableTiff(root + suffix + ".tif", 1, compression.scheme,
                               compression.imageMagickName);
        }
        EXPECT_FALSE(FileExists(root + "004.tif"));
    }
}

TEST_F(VlPrint, reports_the_settings_and_each_request_with_its_result) {
    WriteSettings("OFF", out + "\\Doc", "0", "0");
    const Finished printed = Print("--pages 2");
    EXPECT_EQ(printed.exitCode, 0u);
    const std::string ini = WindowsDirectory() + "\\Vellora.ini";
    EXPECT_EQ(printed.out.find("Printing test pages: 2 pages of A4 at 150 dpi in 10-point \""), 0u)
        << printed.out;
    EXPECT_NE(printed.out.find("Settings from \"" + ini + "\": output default filename root \"" +
                               out + "\\Doc\", compression RLE, one TIFF file per page.\n" +
                               "Request 1286 with the output root \"" + out +
                               "\\Doc\": result 0.\nFile 1 of 2 (page 1), "),
              std::string::npos)
        << printed.out;
    EXPECT_NE(printed.out.find(" bytes, name suffix \"002\": result 0, placed.\n"),
              std::string::npos)
        << printed.out;
}

TEST_F(VlPrint, a_root_on_the_command_line_replaces_the_output_path_setting) {
    WriteSettings("OFF", out + "\\FromSettings", "2", "1");
    const Finished printed = Print("--pages 1 --root \"" + out + "\\FromCommandLine\"");
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    EXPECT_NE(printed.out.find("Output root from the command line: \"" + out +
                               "\\FromCommandLine\".\nRequest 1286 with the output root \"" + out +
                               "\\FromCommandLine\": result 0.\n"),
              std::string::npos)
        << printed.out;
    ExpectReadableTiff(out + "\\FromCommandLine.tif", 1, "LZW", "LZW");
    EXPECT_FALSE(FileExists(out + "\\FromSettings.tif"));
}

TEST_F(VlPrint, without_a_settings_file_prints_to_the_default_root_as_one_lzw_file) {
    DeleteFileA("C:\\VelloraDoc.tif");
    const Finished printed = Print("--pages 2");
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    ExpectReadableTiff("C:\\VelloraDoc.tif", 2, "LZW", "LZW");
    DeleteFileA("C:\\VelloraDoc.tif");
}

TEST_F(VlPrint, reads_the_settings_with_the_drivers_buffer_sizes) {
    // "OFFX" is read as "OFF", "12" as "1" (no compression), and 256 counts as 0.
    WriteSettings("OFFX", out + "\\Cut", "12", "256");
    const Finished printed = Print("--pages 2");
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    ExpectReadableTiff(out + "\\Cut001.tif", 1, "None", "None");
    ExpectReadableTiff(out + "\\Cut002.tif", 1, "None", "None");
}

TEST_F(VlPrint, a_document_is_laid_out_in_lines_and_pages) {
    const std::string document = out + "\\letter.txt";
    std::string paragraph;
    while (paragraph.size() < 1000) {
        paragraph += "A paragraph far too long for one line of the page. ";
    }
    WriteFileText(document, "Dear reader,\r\n\r\n" + paragraph +
                                "\r\n\fThe second page.\r\n"
                                "\f\tThe last page.\r\n");
    WriteSettings("OFF", out + "\\Letter", "2", "1");
    const Finished printed = Print("\"" + document + "\"");
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    EXPECT_EQ(printed.out.find("Printing \"" + document + "\": 3 pages of A4"), 0u) << printed.out;
    ExpectReadableTiff(out + "\\Letter.tif", 3, "LZW", "LZW");
}

TEST_F(VlPrint, a_space_written_as_percent_20_reaches_the_folder_with_the_space) {
    FreshFolder("out\\My Files");
    WriteSettings("OFF", out + "\\My%20Files\\Doc", "2", "1");
    const Finished printed = Print("--pages 1");
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    ExpectReadableTiff(out + "\\My Files\\Doc.tif", 1, "LZW", "LZW");
}

TEST_F(VlPrint, the_file_name_prompt_lets_the_user_choose_the_root) {
    WriteSettings("ON", out + "\\NotUsed", "2", "1");
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\Earlier"), 0); // an earlier print's root
    auto print = StartPrint("--pages 2");
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr) << Describe(print->Finish(0));
    EXPECT_EQ(SaveDialogFileName(dialog), "Earlier");
    ChooseInSaveDialog(dialog, out + "\\Chosen");
    const Finished printed = print->Finish();
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    EXPECT_NE(printed.out.find("Request 1285 for the output file name dialog: result 0.\n"),
              std::string::npos)
        << printed.out;
    ExpectReadableTiff(out + "\\Chosen.tif", 2, "LZW", "LZW");
    EXPECT_FALSE(FileExists(out + "\\NotUsed.tif"));
}

TEST_F(VlPrint, a_cancelled_file_name_prompt_prints_nothing) {
    WriteSettings("ON", out + "\\NotUsed", "2", "0");
    ASSERT_EQ(SetOutputRoot(host.window, out + "\\Earlier"), 0);
    auto print = StartPrint("--pages 2");
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr) << Describe(print->Finish(0));
    CancelSaveDialog(dialog);
    const Finished printed = print->Finish();
    EXPECT_EQ(printed.exitCode, 3u);
    EXPECT_EQ(printed.err,
              "VlPrint: the user cancelled the output file name dialog; nothing was printed.\n");
    EXPECT_FALSE(FileExists(out + "\\NotUsed001.tif"));
}

TEST_F(VlPrint, yes_at_the_overwrite_question_replaces_the_target) {
    WriteSettings("OFF", out + "\\Doc", "2", "1");
    WriteFileText(out + "\\Doc.tif", "old");
    auto print = StartPrint("--pages 2");
    EXPECT_EQ(AnswerHostBox(IDYES), Question(out + "\\Doc.tif"));
    const Finished printed = print->Finish();
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    ExpectReadableTiff(out + "\\Doc.tif", 2, "LZW", "LZW");
}

TEST_F(VlPrint, no_at_the_overwrite_question_places_the_file_under_another_name) {
    WriteSettings("OFF", out + "\\Doc", "0", "1");
    WriteFileText(out + "\\Doc.tif", "old");
    auto print = StartPrint("--pages 1");
    EXPECT_EQ(AnswerHostBox(IDNO), Question(out + "\\Doc.tif"));
    HWND dialog = WaitForSaveDialog();
    ASSERT_NE(dialog, nullptr) << Describe(print->Finish(0));
    ChooseInSaveDialog(dialog, out + "\\Other");
    const Finished printed = print->Finish();
    EXPECT_EQ(printed.exitCode, 0u) << printed.err;
    EXPECT_EQ(ReadFileText(out + "\\Doc.tif"), "old");
    ExpectReadableTiff(out + "\\Other.tif", 1, "PackBits", "RLE");
}

TEST_F(VlPrint, cancel_at_the_overwrite_question_keeps_the_target_and_ends_the_print) {
    WriteSettings("OFF", out + "\\Doc", "2", "0");
    WriteFileText(out + "\\Doc001.tif", "old");
    auto print = StartPrint("--pages 3");
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question(out + "\\Doc001.tif"));
    const Finished printed = print->Finish();
    EXPECT_EQ(printed.exitCode, 3u);
    EXPECT_EQ(printed.err, "VlPrint: the host discarded file 1 of 3 (page 1): its placement was "
                           "cancelled or failed.\nVlPrint: 2 more files not printed.\n");
    EXPECT_EQ(ReadFileText(out + "\\Doc001.tif"), "old");
    EXPECT_FALSE(FileExists(out + "\\Doc002.tif"));
}

TEST(VlPrintAlone, fails_clearly_when_the_host_is_not_running) {
    const Finished printed = Print("--pages 1 --wait-host 1");
    EXPECT_EQ(printed.exitCode, 2u);
    EXPECT_EQ(printed.err, "VlPrint: no window \"VelloraHost\" appeared within 1 s: the host is "
                           "not running\n");
    EXPECT_FALSE(FileExists(SpoolFolder()));
}

TEST(VlPrintAlone, fails_clearly_on_a_document_it_cannot_read_or_a_wrong_command_line) {
    Finished printed = Print("C:\\vtest\\no-such-document.txt");
    EXPECT_EQ(printed.exitCode, 1u);
    EXPECT_EQ(printed.err,
              "VlPrint: cannot read the document \"C:\\vtest\\no-such-document.txt\"\n");
    printed = Print("--copies 2");
    EXPECT_EQ(printed.exitCode, 1u);
    EXPECT_EQ(printed.err.find("VlPrint: unknown option --copies\n\nusage: VlPrint "), 0u)
        << printed.err;
}
