// Placing prints on target drives that fail: a full drive, a read-only drive, a full file system
// mounted in a folder of the same drive, and a host killed in the middle of a large move to
// another drive. The drives are tmpfs file systems that with-tmpfs-drives.sh mounts for this
// test: F: holds 64 KB, G: is read-only, H: holds 400 MB. Whatever fails, the target's name
// holds nothing or the whole print, and every placed print is checked byte by byte.
#include "HostUnderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace winetest;
using namespace hosttest;

namespace {

constexpr DWORD kChunkBytes = 1 << 20;
constexpr DWORD kTooLargeForDriveF = 200 * 1024;
constexpr DWORD kFitsDriveF = 16 * 1024;
constexpr DWORD kLargePrint = 256 << 20;
constexpr char kHostVersionKey[] = "Software\\Wine\\AppDefaults\\VelloraH.exe";

std::string Question(const std::string& target) {
    return "A file named\n" + target +
           "\ndoes already exist.\nDo you wish to overwrite it?\n(In case of 'No' you may choose "
           "a different name)";
}

// Each 4 bytes hold their own offset mixed with the seed, so that a piece copied twice or to
// the wrong place shows.
std::vector<std::uint32_t> PrintChunk(DWORD offset, std::uint32_t seed) {
    std::vector<std::uint32_t> words(kChunkBytes / 4);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::uint32_t>((offset / 4 + i) * 2654435761u) ^ seed;
    }
    return words;
}

bool WritePrint(const std::string& path, DWORD bytes, std::uint32_t seed) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = file != INVALID_HANDLE_VALUE;
    for (DWORD offset = 0; written && offset < bytes; offset += kChunkBytes) {
        const std::vector<std::uint32_t> chunk = PrintChunk(offset, seed);
        const DWORD length = std::min(kChunkBytes, bytes - offset);
        DWORD done = 0;
        written = WriteFile(file, chunk.data(), length, &done, nullptr) && done == length;
    }
    CloseHandle(file);
    return written;
}

// -1 when there is no such file.
long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The whole print of that size and seed, byte by byte.
bool HoldsPrint(const std::string& path, DWORD bytes, std::uint32_t seed) {
    if (FileSize(path) != bytes) {
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    bool same = file != INVALID_HANDLE_VALUE;
    std::vector<std::uint32_t> read(kChunkBytes / 4);
    for (DWORD offset = 0; same && offset < bytes; offset += kChunkBytes) {
        const DWORD length = std::min(kChunkBytes, bytes - offset);
        DWORD done = 0;
        same =
            ReadFile(file, read.data(), length, &done, nullptr) && done == length &&
            std::equal(read.begin(), read.begin() + length / 4, PrintChunk(offset, seed).begin());
    }
    CloseHandle(file);
    return same;
}

// A name ending in ".~" and two lowercase hexadecimal digits: a part as the host names it.
bool IsPartName(const std::string& name) {
    const auto hexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    const std::size_t size = name.size();
    return size >= 4 && name.compare(size - 4, 2, ".~") == 0 && hexDigit(name[size - 2]) &&
           hexDigit(name[size - 1]);
}

std::vector<std::string> PartsIn(const std::string& folder) {
    std::vector<std::string> parts = FolderListing(folder);
    parts.erase(std::remove_if(parts.begin(), parts.end(),
                               [](const std::string& name) { return !IsPartName(name); }),
                parts.end());
    return parts;
}

// The size of the largest part in the folder; -1 when there is none.
long long LargestPart(const std::string& folder) {
    long long largest = -1;
    for (const std::string& part : PartsIn(folder)) {
        largest = std::max(largest, FileSize(folder + "\\" + part));
    }
    return largest;
}

// The drive's folder as Wine's drive Z: (the whole Unix file system) shows it.
std::string FolderOfDriveOnZ(char letter) {
    char drives[1024] = "";
    GetEnvironmentVariableA("VELLORA_DRIVES", drives, sizeof(drives));
    std::istringstream entries(drives);
    std::string entry;
    while (entries >> entry) {
        if (entry.size() > 2 && entry[0] == letter && entry[1] == ':') {
            std::string folder = "Z:" + entry.substr(2);
            std::replace(folder.begin(), folder.end(), '/', '\\');
            return folder;
        }
    }
    return std::string();
}

bool KillByProcessId(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) {
        return false;
    }
    const bool ended = TerminateProcess(process, 1) &&
                       WaitForSingleObject(process, kDefaultTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// Polls every millisecond: a copy of a few hundred MB on tmpfs lasts only a fraction of a second.
bool PollClosely(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// The host reports the Windows version that the parameter names ("" for Wine's default, a
// Windows NT), so that both ways of deciding a move run.
class TargetDrive : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        for (const char* drive : {"F:\\", "G:\\", "H:\\"}) {
            ASSERT_NE(GetDriveTypeA(drive), static_cast<UINT>(DRIVE_NO_ROOT_DIR))
                << drive << " is missing: the test runs through with-tmpfs-drives.sh";
        }
        RemoveTree("F:");
        RemoveTree("H:");
        ReportWindowsVersion(GetParam());
        spool = FreshFolder("spool");
        StartHost();
    }
    void TearDown() override {
        host.reset();
        ReportWindowsVersion("");
    }
    static void ReportWindowsVersion(const std::string& version) {
        if (version.empty()) {
            RegDeleteKeyA(HKEY_CURRENT_USER, kHostVersionKey);
            return;
        }
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kHostVersionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1));
        RegCloseKey(key);
    }
    void StartHost() {
        host = std::make_unique<RunningHost>();
        ASSERT_NE(host->window, nullptr);
    }
    // 1286 with the root and 1280 with "000": the target is the root and ".tif".
    void AimAt(const std::string& root) {
        ASSERT_EQ(SetOutputRoot(host->window, root), 0);
        ASSERT_EQ(SetNameSuffix(host->window, "000"), 0);
    }
    static std::string Produce(const std::string& folder, const std::string& name, DWORD bytes,
                               std::uint32_t seed) {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(WritePrint(path + ".tif", bytes, seed));
        return path;
    }
    // A print too large for the folder's 64 KB file system: the disk is full, nothing stays
    // under its name, the produced file is discarded. The next print fits and is placed whole,
    // and stays whole when a third too large for the drive is to replace it.
    void PlaceTooLargeThenFitting(const std::string& folder, const std::string& producedFolder) {
        const std::string root = folder + "\\Full";
        AimAt(root);
        const std::string tooLarge = Produce(producedFolder, "job1", kTooLargeForDriveF, 1);
        auto placed = PlaceOutputAsync(host->window, tooLarge);
        EXPECT_EQ(AnswerHostBox(IDOK), "The file could not be renamed: The disk is full");
        EXPECT_EQ(ResultOf(placed), 1);
        EXPECT_EQ(FolderListing(folder), std::vector<std::string>{});
        EXPECT_FALSE(FileExists(tooLarge + ".tif"));

        AimAt(root);
        const std::string fits = Produce(producedFolder, "job2", kFitsDriveF, 2);
        EXPECT_EQ(PlaceOutput(host->window, fits), 0);
        EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"Full.tif"});
        EXPECT_TRUE(HoldsPrint(root + ".tif", kFitsDriveF, 2));
        EXPECT_FALSE(FileExists(fits + ".tif"));

        AimAt(root);
        auto replacing =
            PlaceOutputAsync(host->window, Produce(producedFolder, "job3", kTooLargeForDriveF, 3));
        EXPECT_EQ(AnswerHostBox(IDYES), Question(root + ".tif"));
        EXPECT_EQ(AnswerHostBox(IDOK), "The file could not be renamed: The disk is full");
        EXPECT_EQ(ResultOf(replacing), 1);
        EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"Full.tif"});
        EXPECT_TRUE(HoldsPrint(root + ".tif", kFitsDriveF, 2));
    }

    std::unique_ptr<RunningHost> host;
    std::string spool;
};

} // namespace

TEST_P(TargetDrive,
       a_print_too_large_for_the_drive_leaves_nothing_and_the_next_that_fits_is_placed) {
    PlaceTooLargeThenFitting("F:", spool);
}

// Z: reaches the drives' file systems as folders of one drive, as a folder linked to another file
// system does under Wine, and a server's second volume behind one network drive on Windows 9x.
TEST_P(TargetDrive,
       a_full_file_system_in_a_folder_of_the_same_drive_is_no_different_from_a_full_drive) {
    const std::string full = FolderOfDriveOnZ('f');
    const std::string producedFolder = FolderOfDriveOnZ('h') + "\\spool";
    ASSERT_FALSE(full.empty());
    ASSERT_TRUE(CreateDirectoryA(producedFolder.c_str(), nullptr));
    PlaceTooLargeThenFitting(full, producedFolder);
}

TEST_P(TargetDrive, a_read_only_drive_asks_the_overwrite_question_and_keeps_nothing) {
    AimAt("G:\\Doc");
    const std::string produced = Produce(spool, "job1", kFitsDriveF, 1);
    auto placed = PlaceOutputAsync(host->window, produced);
    // The copy is refused as access denied, which the host takes for an existing target.
    EXPECT_EQ(AnswerHostBox(IDYES), Question("G:\\Doc.tif"));
    EXPECT_EQ(AnswerHostBox(IDCANCEL), Question("G:\\Doc.tif"));
    EXPECT_EQ(ResultOf(placed), 1);
    EXPECT_EQ(FolderListing("G:"), std::vector<std::string>{});
    EXPECT_FALSE(FileExists(produced + ".tif"));
}

TEST_P(TargetDrive, a_host_killed_during_a_large_move_leaves_nothing_or_the_whole_print) {
    ASSERT_TRUE(CreateDirectoryA("E:\\spool", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string produced = "E:\\spool\\large";
    const std::string target = "H:\\Large.tif";
    // A kill after the rename leaves the print placed and may leave the produced file deleted.
    const auto produceAgain = [&] {
        return (!FileExists(target) || DeleteFileA(target.c_str())) &&
               (FileExists(produced + ".tif") || WritePrint(produced + ".tif", kLargePrint, 3));
    };
    int killedDuringCopy = 0;
    for (const DWORD partBytes :
         {DWORD{1}, kLargePrint / 16, kLargePrint / 2, kLargePrint / 16 * 15}) {
        SCOPED_TRACE("killed once the part holds " + std::to_string(partBytes) + " bytes");
        ASSERT_TRUE(produceAgain());
        AimAt("H:\\Large");
        auto placed = PlaceOutputAsync(host->window, produced);
        EXPECT_TRUE(PollClosely(
            [&] { return LargestPart("H:") >= partBytes || FileExists(target); }, 60000));
        ASSERT_TRUE(KillByProcessId(host->process.Id()));
        ResultOf(placed);
        const std::vector<std::string> parts = PartsIn("H:");
        EXPECT_LE(parts.size(), 1u);
        const long long partLeft = LargestPart("H:");
        killedDuringCopy += partLeft >= 0 && partLeft < kLargePrint;
        for (const std::string& name : FolderListing("H:")) {
            EXPECT_TRUE(name == "Large.tif" || IsPartName(name)) << name;
        }
        EXPECT_TRUE(!FileExists(target) || HoldsPrint(target, kLargePrint, 3));
        // The host leaves the part, as it leaves any file it did not make in this move; the
        // user may delete it, as here, which makes room for the next copy.
        for (const std::string& part : parts) {
            EXPECT_TRUE(DeleteFileA(("H:\\" + part).c_str())) << part;
        }
        StartHost();
    }
    std::printf("%d of 4 kills came during the copy\n", killedDuringCopy);
    EXPECT_GE(killedDuringCopy, 1) << "no kill came during a copy: the test proved nothing";

    ASSERT_TRUE(produceAgain());
    AimAt("H:\\Large");
    EXPECT_EQ(PlaceOutput(host->window, produced), 0);
    EXPECT_EQ(FolderListing("H:"), std::vector<std::string>{"Large.tif"});
    EXPECT_TRUE(HoldsPrint(target, kLargePrint, 3));
    EXPECT_FALSE(FileExists(produced + ".tif"));
}

INSTANTIATE_TEST_SUITE_P(ReportingWindowsNt, TargetDrive, ::testing::Values(""));
INSTANTIATE_TEST_SUITE_P(ReportingWindows98, TargetDrive, ::testing::Values("win98"));
