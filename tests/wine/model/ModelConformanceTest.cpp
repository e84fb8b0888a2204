// The model file system held to the real calls. Each situation is set up twice, with real files
// under Wine and in the model; the host's own file call (Win32FileCalls) is made on the first and
// the model's same call on the second, and their results and the files afterwards are compared.
// A difference fails unless the table of deliberate differences gives its reason; a row of that
// table whose situation no longer differs fails too.
//
// A situation is written in a few words. Paths begin with the file system they lie on:
//   c\  C:\conform\<n>\       s\  the same folder through S:, a second letter of C:
//   e\  E:\conform\<n>\, another file system
//   l\  C:\Linked\<n>\ and k\ C:\Linked2\<n>\, two more file systems linked as folders of C:
//   f\  F:\<n>\, a drive of 64 KB    g\  G:\<n>\, a read-only drive    h\  H:\<n>\, no free entry
//   r\  the situation's folder as the current folder, given as a relative path
// In names "_" stands for a space, and "#259" for as many "x" as make the whole path 259 long.
// The steps: "file P TEXT" ("big" is 100,000 bytes), "dir P", "readonly P", "hold P SHARING",
// "link P Q" (a hard link), "symlink P Q", "twin P TEXT" (a file made by that exact name, beside
// one whose name differs only in case), "short P" (its short name is then "$"), "pending P" (held
// sharing its deletion, and deleted); "most" fills F: but for a block. The calls: "rename F T",
// "replace F T", "move F T", "create P", "copy P F" (CreatePart, then FillPart), "delete P",
// "exists P", "attributes P", "compare A B", "stamp P STEP" (stamped, STEP done to it, stamped
// again), "full P".
#include "FileCallsWin32.h"
#include "ModelFileSystem.h"
#include "PathForms.h"
#include "WindowsPaths.h"
#include "WineTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Situation {
    const char* name;
    const char* setup;
    const char* call;
};

// clang-format off
const Situation kSituations[] = {
    // MoveFileExA, the rename that never copies.
    {"a rename to a free name", "file c\\a A", "rename c\\a c\\b"},
    {"a rename onto a file", "file c\\a A; file c\\b B", "rename c\\a c\\b"},
    {"a replacing rename onto a file", "file c\\a A; file c\\b B", "replace c\\a c\\b"},
    {"a replacing rename onto a read-only file", "file c\\a A; file c\\b B; readonly c\\b", "replace c\\a c\\b"},
    {"a replacing rename onto a folder", "file c\\a A; dir c\\b", "replace c\\a c\\b"},
    {"a rename of a missing file", "", "rename c\\a c\\b"},
    {"a rename into a missing folder", "file c\\a A", "rename c\\a c\\x\\b"},
    {"a rename of a file held without sharing", "file c\\a A; hold c\\a 0", "rename c\\a c\\b"},
    {"a rename of a file held sharing reading", "file c\\a A; hold c\\a 1", "rename c\\a c\\b"},
    {"a rename of a file held sharing reading and writing", "file c\\a A; hold c\\a 3", "rename c\\a c\\b"},
    {"a rename of a file held sharing its deletion", "file c\\a A; hold c\\a 7", "rename c\\a c\\b"},
    {"a replacing rename onto a file held without sharing", "file c\\a A; file c\\b B; hold c\\b 0", "replace c\\a c\\b"},
    {"a replacing rename onto a file held sharing reading", "file c\\a A; file c\\b B; hold c\\b 1", "replace c\\a c\\b"},
    {"a replacing rename onto a file held sharing reading and writing", "file c\\a A; file c\\b B; hold c\\b 3", "replace c\\a c\\b"},
    {"a replacing rename onto a file held sharing its deletion", "file c\\a A; file c\\b B; hold c\\b 7", "replace c\\a c\\b"},
    {"a rename to another drive", "file c\\a A", "rename c\\a e\\b"},
    {"a rename into a folder of C: linked to another file system", "file c\\a A", "rename c\\a l\\b"},
    {"a rename between two linked file systems", "file l\\a A", "rename l\\a k\\b"},
    {"a rename to a second letter of the same drive", "file c\\a A", "rename c\\a s\\b"},
    {"a rename on a read-only drive", "file g\\a A", "rename g\\a g\\b"},
    {"a rename on a drive without a free entry", "file h\\a A", "rename h\\a h\\b"},
    {"a rename onto a hard link of the same file", "file c\\a A; link c\\b c\\a", "rename c\\a c\\b"},
    {"a replacing rename onto a hard link of the same file", "file c\\a A; link c\\b c\\a", "replace c\\a c\\b"},
    {"a rename onto a symbolic link", "file c\\a A; file c\\x X; symlink c\\b c\\x", "rename c\\a c\\b"},
    {"a replacing rename onto a symbolic link", "file c\\a A; file c\\x X; symlink c\\b c\\x", "replace c\\a c\\b"},
    {"a rename onto a symbolic link that leads nowhere", "file c\\a A; symlink c\\b c\\nowhere", "rename c\\a c\\b"},
    {"a rename of a symbolic link", "file c\\x X; symlink c\\a c\\x", "rename c\\a c\\b"},
    {"a rename onto a name with a final dot", "file c\\a A; file c\\b B", "rename c\\a c\\b."},
    {"a replacing rename onto a name with a final dot", "file c\\a A; file c\\b B", "replace c\\a c\\b."},
    {"a replacing rename onto a name with a final space", "file c\\a A; file c\\b B", "replace c\\a c\\b_"},
    {"a rename onto a name that differs in case", "file c\\a A; file c\\b B", "rename c\\a c\\B"},
    {"a rename of a file to its own name in capitals", "file c\\a A", "rename c\\a c\\A"},
    {"a rename of one of two names that differ in case", "file c\\doc D; twin c\\DOC U", "rename c\\doc c\\x"},
    {"a rename onto a name being deleted", "file c\\a A; file c\\b B; pending c\\b", "rename c\\a c\\b"},
    {"a replacing rename onto a name being deleted", "file c\\a A; file c\\b B; pending c\\b", "replace c\\a c\\b"},
    {"a rename to a path of 259 characters", "file c\\a A", "rename c\\a c\\#259"},
    {"a rename of a file under its short name", "file c\\Long_name.tif A; short c\\Long_name.tif", "rename c\\$ c\\b"},
    // MoveFileA, the plain move.
    {"a move to a free name", "file c\\a A", "move c\\a c\\b"},
    {"a move onto a file", "file c\\a A; file c\\b B", "move c\\a c\\b"},
    {"a move of a missing file", "", "move c\\a c\\b"},
    {"a move into a missing folder", "file c\\a A", "move c\\a c\\x\\b"},
    {"a move of a file held without sharing", "file c\\a A; hold c\\a 0", "move c\\a c\\b"},
    {"a move of a file held sharing reading", "file c\\a A; hold c\\a 1", "move c\\a c\\b"},
    {"a move of a file held sharing its deletion", "file c\\a A; hold c\\a 7", "move c\\a c\\b"},
    {"a move to another drive", "file c\\a A", "move c\\a e\\b"},
    {"a move into a folder of C: linked to another file system", "file c\\a A", "move c\\a l\\b"},
    {"a move between two linked file systems", "file l\\a A", "move l\\a k\\b"},
    {"a move to a full drive", "file c\\a big", "move c\\a f\\b"},
    {"a move to a read-only drive", "file c\\a A", "move c\\a g\\b"},
    {"a move to a drive without a free entry", "file c\\a A", "move c\\a h\\b"},
    {"a move from a read-only drive", "file g\\a A", "move g\\a c\\b"},
    {"a move to another drive of a file held without sharing", "file c\\a A; hold c\\a 0", "move c\\a e\\b"},
    {"a move to another drive of a file held sharing reading", "file c\\a A; hold c\\a 1", "move c\\a e\\b"},
    {"a move to another drive of a file held sharing reading and writing", "file c\\a A; hold c\\a 3", "move c\\a e\\b"},
    {"a move to another drive of a file held sharing its deletion", "file c\\a A; hold c\\a 7", "move c\\a e\\b"},
    {"a move to another drive of a read-only file", "file c\\a A; readonly c\\a", "move c\\a e\\b"},
    {"a move to another drive onto a file", "file c\\a A; file e\\b B", "move c\\a e\\b"},
    {"a move onto a symbolic link that leads nowhere", "file c\\a A; symlink c\\b c\\nowhere", "move c\\a c\\b"},
    {"a move onto a symbolic link", "file c\\a A; file c\\x X; symlink c\\b c\\x", "move c\\a c\\b"},
    {"a move onto a hard link of the same file", "file c\\a A; link c\\b c\\a", "move c\\a c\\b"},
    {"a move onto a name with a final dot", "file c\\a A; file c\\b B", "move c\\a c\\b."},
    {"a move onto a name being deleted", "file c\\a A; file c\\b B; pending c\\b", "move c\\a c\\b"},
    {"a move of a read-only file", "file c\\a A; readonly c\\a", "move c\\a c\\b"},
    // CreateFileA with CREATE_NEW, the part.
    {"a new part", "", "create c\\p"},
    {"a part where a file is", "file c\\p P", "create c\\p"},
    {"a part where a folder is", "dir c\\p", "create c\\p"},
    {"a part in a missing folder", "", "create c\\x\\p"},
    {"a part on a read-only drive", "", "create g\\p"},
    {"a part on a drive without a free entry", "", "create h\\p"},
    {"a part on a full drive", "file f\\a most", "create f\\p"},
    {"a copy into a part on a full drive", "file f\\a most; file c\\b B", "copy f\\p c\\b"},
    {"a part where a symbolic link leads nowhere", "symlink c\\p c\\nowhere", "create c\\p"},
    {"a part where a symbolic link is", "file c\\x X; symlink c\\p c\\x", "create c\\p"},
    {"a part where a name is being deleted", "file c\\p P; pending c\\p", "create c\\p"},
    {"a part with a final dot where a file is", "file c\\p P", "create c\\p."},
    {"a part with a final space where a file is", "file c\\p P", "create c\\p_"},
    {"a part whose name differs in case from a file's", "file c\\p P", "create c\\P"},
    {"a part whose path has 259 characters", "", "create c\\#259"},
    {"a part whose path has 260 characters", "", "create c\\#260"},
    {"a part whose path has 261 characters", "", "create c\\#261"},
    {"a part on another drive", "", "create e\\p"},
    {"a part in a linked folder", "", "create l\\p"},
    // The copy into the part.
    {"a copy into a part", "file c\\a A", "copy c\\p c\\a"},
    {"a copy of a missing file", "", "copy c\\p c\\a"},
    {"a copy of a file held without sharing", "file c\\a A; hold c\\a 0", "copy c\\p c\\a"},
    {"a copy of a file held sharing reading", "file c\\a A; hold c\\a 1", "copy c\\p c\\a"},
    {"a copy of a file held sharing reading and writing", "file c\\a A; hold c\\a 3", "copy c\\p c\\a"},
    {"a copy of a file held sharing its deletion", "file c\\a A; hold c\\a 7", "copy c\\p c\\a"},
    {"a copy to a full drive", "file c\\a big", "copy f\\p c\\a"},
    {"a copy to another drive", "file c\\a big", "copy e\\p c\\a"},
    {"a copy into a linked folder", "file c\\a big", "copy l\\p c\\a"},
    {"a copy through a symbolic link", "file c\\x X; symlink c\\a c\\x", "copy c\\p c\\a"},
    {"a copy of a folder", "dir c\\a", "copy c\\p c\\a"},
    {"a copy of a name being deleted", "file c\\a A; pending c\\a", "copy c\\p c\\a"},
    {"a copy from a read-only drive", "file g\\a A", "copy c\\p g\\a"},
    {"a copy of a read-only file", "file c\\a A; readonly c\\a", "copy c\\p c\\a"},
    {"a copy of a file under its short name", "file c\\Long_name.tif A; short c\\Long_name.tif", "copy c\\p c\\$"},
    // DeleteFileA.
    {"a deletion", "file c\\a A", "delete c\\a"},
    {"a deletion of a missing file", "", "delete c\\a"},
    {"a deletion in a missing folder", "", "delete c\\x\\a"},
    {"a deletion of a read-only file", "file c\\a A; readonly c\\a", "delete c\\a"},
    {"a deletion of a folder", "dir c\\a", "delete c\\a"},
    {"a deletion of a file held without sharing", "file c\\a A; hold c\\a 0", "delete c\\a"},
    {"a deletion of a file held sharing reading", "file c\\a A; hold c\\a 1", "delete c\\a"},
    {"a deletion of a file held sharing reading and writing", "file c\\a A; hold c\\a 3", "delete c\\a"},
    {"a deletion of a file held sharing its deletion", "file c\\a A; hold c\\a 7", "delete c\\a"},
    {"a deletion on a read-only drive", "file g\\a A", "delete g\\a"},
    {"a deletion of a symbolic link", "file c\\x X; symlink c\\a c\\x", "delete c\\a"},
    {"a deletion of a symbolic link that leads nowhere", "symlink c\\a c\\nowhere", "delete c\\a"},
    {"a deletion of one hard link", "file c\\a A; link c\\b c\\a", "delete c\\a"},
    {"a deletion by a name with a final dot", "file c\\a A", "delete c\\a."},
    {"a deletion by a name that differs in case", "file c\\a A", "delete c\\A"},
    {"a deletion of one of two names that differ in case", "file c\\doc D; twin c\\DOC U", "delete c\\doc"},
    {"a deletion of a name being deleted", "file c\\a A; pending c\\a", "delete c\\a"},
    {"a deletion on another drive", "file e\\a A", "delete e\\a"},
    {"a deletion on a drive without a free entry", "file h\\a A", "delete h\\a"},
    {"a deletion under a second letter of the drive", "file c\\a A", "delete s\\a"},
    // GetFileAttributesA.
    {"a file there", "file c\\a A", "exists c\\a"},
    {"no file there", "", "exists c\\a"},
    {"a folder there", "dir c\\a", "exists c\\a"},
    {"a name in a missing folder", "", "exists c\\x\\a"},
    {"a symbolic link that leads nowhere", "symlink c\\a c\\nowhere", "exists c\\a"},
    {"a symbolic link to a file", "file c\\x X; symlink c\\a c\\x", "exists c\\a"},
    {"a name being deleted", "file c\\a A; pending c\\a", "exists c\\a"},
    {"a file by a name with a final dot", "file c\\a A", "exists c\\a."},
    {"a file by a name that differs in case", "file c\\a A", "exists c\\A"},
    {"a file by its short name", "file c\\Long_name.tif A; short c\\Long_name.tif", "exists c\\$"},
    {"a file held without sharing", "file c\\a A; hold c\\a 0", "exists c\\a"},
    {"a file on a read-only drive", "file g\\a A", "exists g\\a"},
    {"a file by a path of 261 characters", "", "exists c\\#261"},
    {"a file in a linked folder", "file l\\a A", "exists l\\a"},
    {"a file relative to the current folder", "file c\\a A", "exists r\\a"},
    {"a read-only file", "file c\\a A; readonly c\\a", "attributes c\\a"},
    {"a plain file's attributes", "file c\\a A", "attributes c\\a"},
    {"a folder's attributes", "dir c\\a", "attributes c\\a"},
    {"no file's attributes", "", "attributes c\\a"},
    {"a file on a read-only drive is not read-only", "file g\\a A", "attributes g\\a"},
    {"a symbolic link to a read-only file", "file c\\x X; readonly c\\x; symlink c\\a c\\x", "attributes c\\a"},
    // One file or two, by sharing.
    {"one file under one name", "file c\\a A", "compare c\\a c\\a"},
    {"one file under two hard links", "file c\\a A; link c\\b c\\a", "compare c\\a c\\b"},
    {"one file under its short name", "file c\\Long_name.tif A; short c\\Long_name.tif", "compare c\\Long_name.tif c\\$"},
    {"one file under a second drive letter", "file c\\a A", "compare c\\a s\\a"},
    {"one file under a symbolic link", "file c\\a A; symlink c\\b c\\a", "compare c\\a c\\b"},
    {"one file under a name that differs in case", "file c\\a A", "compare c\\a c\\A"},
    {"one file under a name with a final dot", "file c\\a A", "compare c\\a c\\a."},
    {"two files in one folder", "file c\\a A; file c\\b B", "compare c\\a c\\b"},
    {"two files on two drives", "file c\\a A; file e\\a A", "compare c\\a e\\a"},
    {"two files on two linked file systems", "file l\\a A; file k\\a A", "compare l\\a k\\a"},
    {"two files whose names differ only in case", "file c\\doc D; twin c\\DOC U", "compare c\\doc c\\DOC"},
    {"two files of which the first is held", "file c\\a A; file c\\b B; hold c\\a 1", "compare c\\a c\\b"},
    {"two files of which the second is held", "file c\\a A; file c\\b B; hold c\\b 1", "compare c\\a c\\b"},
    {"two files of which the second is held sharing everything", "file c\\a A; file c\\b B; hold c\\b 7", "compare c\\a c\\b"},
    {"one file held by another program", "file c\\a A; link c\\b c\\a; hold c\\a 7", "compare c\\a c\\b"},
    {"a file and no file", "file c\\a A", "compare c\\a c\\b"},
    {"a file and a folder", "file c\\a A; dir c\\b", "compare c\\a c\\b"},
    {"a file and a name being deleted", "file c\\a A; file c\\b B; pending c\\b", "compare c\\a c\\b"},
    // The stamp of what has a name.
    {"a stamp when nothing happens", "file c\\a A", "stamp c\\a nothing"},
    {"a stamp when the file is read", "file c\\a A", "stamp c\\a read"},
    {"a stamp when the file is written", "file c\\a A", "stamp c\\a write"},
    {"a stamp when the file is marked read-only", "file c\\a A", "stamp c\\a readonly"},
    {"a stamp when another file takes the name", "file c\\a A", "stamp c\\a replace"},
    {"a stamp when the file is renamed and back", "file c\\a A", "stamp c\\a renameback"},
    {"a stamp when another program holds the file", "file c\\a A", "stamp c\\a hold"},
    {"a stamp when the file gets a hard link", "file c\\a A", "stamp c\\a link"},
    {"a stamp of no file", "", "stamp c\\a nothing"},
    {"a stamp of a file held without sharing", "file c\\a A; hold c\\a 0", "stamp c\\a nothing"},
    {"a stamp through a symbolic link whose file is replaced", "file c\\x X; symlink c\\a c\\x", "stamp c\\a replacedestination"},
    // GetFullPathNameA.
    {"the full path of a full path", "", "full c\\a.tif"},
    {"the full path with a dot folder", "", "full c\\.\\a.tif"},
    {"the full path with a folder and two dots", "", "full c\\x\\..\\a.tif"},
    {"the full path with a doubled backslash", "", "full c\\\\a.tif"},
    {"the full path with a slash", "", "full c\\x/a.tif"},
    {"the full path of a name with a final dot", "", "full c\\a.tif."},
    {"the full path of a name with a final space", "", "full c\\a.tif_"},
    {"the full path of a name with final dots and spaces", "", "full c\\a.tif._._"},
    {"the full path of a folder with a final dot", "", "full c\\x.\\a.tif"},
    {"the full path of a relative name", "", "full r\\a.tif"},
    {"the full path of a name relative to the drive", "", "full C:a.tif"},
    {"the full path of NUL", "", "full c\\NUL"},
    {"the full path of nul with an extension", "", "full c\\nul.tif"},
    {"the full path of NUL before a colon", "", "full c\\NUL:x.tif"},
    {"the full path of con with a space", "", "full c\\con_.tif"},
    {"the full path of COM1", "", "full c\\COM1.tif"},
    {"the full path of lpt1 with a colon", "", "full c\\lpt1:"},
    {"the full path of aux", "", "full c\\aux"},
    {"the full path of PRN after a slash", "", "full c\\x/PRN.tif"},
    {"the full path of CONIN$", "", "full c\\CONIN$"},
    {"the full path of CONOUT$ with an extension", "", "full c\\CONOUT$.tif"},
    {"the full path of COM with a superscript digit", "", "full c\\COM\xB9.tif"},
    {"the full path of COM0", "", "full c\\COM0.tif"},
    {"the full path of a folder named NUL", "", "full c\\NUL\\a.tif"},
    {"the full path of a stream", "", "full c\\a:x.tif"},
    {"the full path of 259 characters", "", "full c\\#259"},
    {"the full path of 260 characters", "", "full c\\#260"},
};

struct Difference {
    const char* situation;
    const char* reason;
};

const Difference kDeliberateDifferences[] = {
    {"a replacing rename onto a read-only file",
     "Windows refuses to replace a read-only file where Wine replaces it; the model follows Windows"},
};
// clang-format on

constexpr DWORD kBridgeTimeoutMs = 10000;
constexpr std::size_t kBigFile = 100000;
constexpr std::size_t kMostOfDriveF = 60 * 1024;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        while (!part.empty() && part.front() == ' ') {
            part.erase(part.begin());
        }
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

// "big" does not fit drive F:, "most" takes all of it but a block.
std::string Content(const std::string& text) {
    return text == "big"    ? std::string(kBigFile, 'b')
           : text == "most" ? std::string(kMostOfDriveF, 'm')
                            : text;
}

// How a file is told in a comparison: its content, or its size and a sum of a long one.
std::string Shown(const std::string& content) {
    if (content.size() <= 24) {
        return "\"" + content + "\"";
    }
    unsigned long sum = 2166136261u;
    for (const char c : content) {
        sum = (sum ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return std::to_string(content.size()) + " bytes, sum " + std::to_string(sum);
}

// The Unix side: where a Windows path is, and shell commands run by the script that mounted the
// drives.
class UnixSide {
  public:
    UnixSide() {
        char mounts[MAX_PATH] = "";
        GetEnvironmentVariableA("VELLORA_CONFORMANCE_MOUNTS", mounts, sizeof(mounts));
        folder = mounts;
        unixName = SystemFunction<UnixName>("kernel32.dll", "wine_get_unix_file_name");
    }
    bool Ready() const { return !folder.empty() && unixName != nullptr; }
    const std::string& Mounts() const { return folder; }

    std::string PathOf(const std::string& windowsPath) const {
        wchar_t wide[MAX_PATH * 2] = {};
        MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
        char* name = unixName(wide);
        const std::string path = name != nullptr ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return path;
    }
    static std::string Quoted(const std::string& text) {
        std::string quoted = "'";
        for (const char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    }

    // Runs the commands there and waits until they have run.
    bool Run(const std::string& commands) {
        const std::string bridge = WindowsBridge();
        const std::string name = bridge + "\\" + std::to_string(++requests);
        const std::string script = name + ".part";
        if (!winetest::WriteFileText(script, commands + "\n") ||
            !MoveFileA(script.c_str(), (name + ".sh").c_str())) {
            return false;
        }
        return winetest::WaitUntil([&] { return winetest::FileExists(name + ".done"); },
                                   kBridgeTimeoutMs, 5);
    }

  private:
    using UnixName = char*(CDECL*)(const wchar_t*);

    std::string WindowsBridge() const {
        std::string path = "Z:" + folder + "/bridge";
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        return path;
    }

    std::string folder;
    UnixName unixName = nullptr;
    int requests = 0;
};

UnixSide& Unix() {
    static UnixSide unix;
    return unix;
}

struct SingleByteRule final : LeadByteRule {
    bool IsLeadByte(unsigned char) const override { return false; }
};
const SingleByteRule kSingleByte;

// One situation in both worlds: the real files under Wine and the model's.
class World {
  public:
    explicit World(int number)
        : model(ModelSystem::windowsNt, kSingleByte), index(std::to_string(number)) {
        model.AddRoot("C:\\", 0);
        model.AddRoot("S:\\", 0);
        model.AddRoot("E:\\", 1);
        model.AddRoot("C:\\Linked\\", 2);
        model.AddRoot("C:\\Linked2\\", 3);
        model.AddRoot("F:\\", 4);
        model.AddRoot("G:\\", 5);
        model.AddRoot("H:\\", 6);
        model.Volume(5).readOnly = true;
    }
    ~World() {
        for (HANDLE held : holders) {
            CloseHandle(held);
        }
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The Windows path of a path in the situation's words.
    std::string Expand(const std::string& word) const {
        std::string rest = word.size() >= 2 && word[1] == '\\' ? word.substr(2) : word;
        for (char& c : rest) {
            c = c == '_' ? ' ' : c;
        }
        if (rest == "$") {
            rest = shortName;
        }
        const std::string folder = Folder(word);
        if (!rest.empty() && rest[0] == '#') {
            const std::size_t length = std::stoul(rest.substr(1));
            rest = std::string(length - folder.size(), 'x');
        }
        return folder + rest;
    }

    void SetUp(const std::string& setup, const std::string& call) {
        PrepareFolders();
        for (const std::string& step : Split(setup, ';')) {
            Step(Split(step, ' '));
        }
        const std::string drives = setup + ";" + call;
        if (drives.find("h\\") != std::string::npos) {
            FillDriveH();
        }
        if (drives.find("f\\") != std::string::npos) {
            ULARGE_INTEGER available = {};
            GetDiskFreeSpaceExA("F:\\", &available, nullptr, nullptr);
            model.Volume(4).room = static_cast<std::size_t>(available.QuadPart);
        }
    }

    // The call's result in both worlds.
    std::pair<std::string, std::string> Call(const std::string& call) {
        const std::vector<std::string> words = Split(call, ' ');
        const std::string& verb = words[0];
        const std::string first = Expand(words[1]);
        const std::string second = words.size() > 2 ? Expand(words[2]) : "";
        if (verb == "rename" || verb == "replace") {
            const ExistingTarget existing =
                verb == "replace" ? ExistingTarget::replace : ExistingTarget::keep;
            return {CallResultText(real.RenameWithoutCopy(first, second, existing)),
                    CallResultText(model.RenameWithoutCopy(first, second, existing))};
        }
        if (verb == "move") {
            return {CallResultText(real.Move(first, second)),
                    CallResultText(model.Move(first, second))};
        }
        if (verb == "create") {
            const std::string realResult = CallResultText(real.CreatePart(first));
            // Closes the part, which a copy of nothing leaves empty.
            real.FillPart(Expand("c\\nowhere.missing"));
            const std::string modelResult = CallResultText(model.CreatePart(first));
            return {realResult, modelResult};
        }
        if (verb == "copy") {
            const std::string realMade = CallResultText(real.CreatePart(first));
            const std::string realCopied = CallResultText(real.FillPart(second));
            const std::string modelMade = CallResultText(model.CreatePart(first));
            return {realMade + ", " + realCopied,
                    modelMade + ", " + CallResultText(model.FillPart(second))};
        }
        if (verb == "delete") {
            return {CallResultText(real.Delete(first)), CallResultText(model.Delete(first))};
        }
        if (verb == "exists") {
            return {CallResultText(real.Exists(first)), CallResultText(model.Exists(first))};
        }
        if (verb == "attributes") {
            return {CallResultText(real.IsReadOnlyOrFolder(first)),
                    CallResultText(model.IsReadOnlyOrFolder(first))};
        }
        if (verb == "compare") {
            return {CallResultText(real.CompareFiles(first, second)),
                    CallResultText(model.CompareFiles(first, second))};
        }
        if (verb == "stamp") {
            return Restamp(first, words[2]);
        }
        return {real.FullPath(first), model.FullPath(first)};
    }

    // What has each name of the situation, once every holder has closed its file.
    std::pair<std::string, std::string> Files(const std::string& situationText) {
        for (HANDLE held : holders) {
            CloseHandle(held);
        }
        holders.clear();
        model.ReleaseAll();
        std::string realFiles;
        std::string modelFiles;
        for (const std::string& path : Names(situationText)) {
            realFiles += path + ": " + RealState(path) + "\n";
            modelFiles += path + ": " + ModelState(path) + "\n";
        }
        return {realFiles, modelFiles};
    }

  private:
    static char Drive(const std::string& word) {
        return word.size() >= 2 && word[1] == '\\' ? word[0] : '\0';
    }

    std::string Folder(const std::string& word) const {
        switch (Drive(word)) {
        case 'c':
            return "C:\\conform\\" + index + "\\";
        case 's':
            return "S:\\conform\\" + index + "\\";
        case 'e':
            return "E:\\conform\\" + index + "\\";
        case 'l':
            return "C:\\Linked\\" + index + "\\";
        case 'k':
            return "C:\\Linked2\\" + index + "\\";
        case 'f':
            return "F:\\" + index + "\\";
        case 'g':
            return "G:\\" + index + "\\";
        case 'h':
            return "H:\\" + index + "\\";
        default:
            return "";
        }
    }

    // The folders of the situation, empty, in both worlds; the current folder is C:'s.
    void PrepareFolders() {
        const std::string mounts = Unix().Mounts();
        Unix().Run("find " + mounts + "/full " + mounts + "/noentries -mindepth 1 -delete; " +
                   "mount -o remount,rw " + mounts + "/readonly && mkdir -p " + mounts +
                   "/readonly/" + index + " && mount -o remount,ro " + mounts + "/readonly");
        for (const char* word : {"c\\", "e\\", "l\\", "k\\", "f\\", "h\\"}) {
            const std::string folder = Folder(word);
            CreateDirectoryA(folder.substr(0, folder.rfind('\\', folder.size() - 2)).c_str(),
                             nullptr);
            CreateDirectoryA(folder.c_str(), nullptr);
            if (model.Find(folder.substr(0, folder.size() - 1)) == nullptr) {
                const std::string parent = folder.substr(0, folder.rfind('\\', folder.size() - 2));
                if (parent.size() > 2 && model.Find(parent) == nullptr) {
                    model.AddFolder(parent);
                }
                model.AddFolder(folder.substr(0, folder.size() - 1));
            }
        }
        model.AddFolder(Folder("g\\").substr(0, Folder("g\\").size() - 1));
        const std::string current = Folder("c\\");
        SetCurrentDirectoryA(current.c_str());
        model.SetCurrentFolder(current.substr(0, current.size() - 1));
    }

    void Step(const std::vector<std::string>& words) {
        const std::string& verb = words[0];
        const std::string path = Expand(words[1]);
        if (verb == "file") {
            MakeFile(words[1], path, Content(words[2]));
            model.AddFile(path, Content(words[2]));
        } else if (verb == "dir") {
            CreateDirectoryA(path.c_str(), nullptr);
            model.AddFolder(path);
        } else if (verb == "readonly") {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
            model.Find(path)->readOnly = true;
        } else if (verb == "hold") {
            const int sharing = std::stoi(words[2]);
            holders.push_back(CreateFileA(path.c_str(), GENERIC_READ, static_cast<DWORD>(sharing),
                                          nullptr, OPEN_EXISTING, 0, nullptr));
            model.Hold(path, sharing);
        } else if (verb == "link") {
            CreateHardLinkA(path.c_str(), Expand(words[2]).c_str(), nullptr);
            model.AddLink(path, Expand(words[2]));
        } else if (verb == "symlink") {
            const std::string destination = Expand(words[2]);
            Unix().Run("ln -s " + UnixSide::Quoted(Unix().PathOf(destination)) + " " +
                       UnixSide::Quoted(Unix().PathOf(path)));
            model.AddSymbolicLink(path, destination);
        } else if (verb == "twin") {
            Unix().Run("printf %s " + UnixSide::Quoted(words[2]) + " > " +
                       UnixSide::Quoted(Unix().PathOf(Expand(words[1].substr(0, 2))) + "/" +
                                        words[1].substr(2)));
            model.AddFile(path, words[2]);
        } else if (verb == "short") {
            char name[MAX_PATH] = "";
            GetShortPathNameA(path.c_str(), name, sizeof(name));
            const std::string full = name;
            shortName = full.substr(full.rfind('\\') + 1);
            model.AddShortName(path, full);
        } else if (verb == "pending") {
            holders.push_back(CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
            DeleteFileA(path.c_str());
            model.Hold(path, kShareRead | kShareWrite | kShareDelete);
            model.Delete(path);
        }
    }

    // A file of the read-only drive is made there from the Unix side, the drive made writable for
    // the moment.
    void MakeFile(const std::string& word, const std::string& path, const std::string& content) {
        if (Drive(word) != 'g') {
            winetest::WriteFileText(path, content);
            return;
        }
        const std::string drive = Unix().Mounts() + "/readonly";
        Unix().Run("mount -o remount,rw " + drive + " && printf %s " + UnixSide::Quoted(content) +
                   " > " + drive + "/" + index + "/" + UnixSide::Quoted(word.substr(2)) +
                   "; mount -o remount,ro " + drive);
    }

    // Every entry that H: can still take is taken, from the Unix side.
    void FillDriveH() {
        Unix().Run("i=0; while : > " + Unix().Mounts() +
                   "/noentries/.fill$i 2>/dev/null; do i=$((i+1)); done");
        std::size_t entries = 0;
        for (const auto& [key, file] : model.Names()) {
            entries += key.first == 6 ? 1 : 0;
        }
        model.Volume(6).freeEntries = entries;
    }

    std::pair<std::string, std::string> Restamp(const std::string& path, const std::string& step) {
        const FileStamp realBefore = real.Stamp(path);
        const FileStamp modelBefore = model.Stamp(path);
        if (step == "read") {
            winetest::ReadFileText(path);
        } else if (step == "write") {
            winetest::WriteFileText(path, "A written anew");
            model.Find(path)->content = "A written anew";
            ++model.Find(path)->version;
        } else if (step == "readonly") {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
            model.Find(path)->readOnly = true;
        } else if (step == "replace" || step == "replacedestination") {
            const std::string other = Expand("c\\other");
            const std::string replaced = step == "replace" ? path : Expand("c\\x");
            winetest::WriteFileText(other, "A");
            MoveFileExA(other.c_str(), replaced.c_str(), MOVEFILE_REPLACE_EXISTING);
            model.Remove(replaced);
            model.AddFile(replaced, "A");
        } else if (step == "renameback") {
            const std::string away = Expand("c\\away");
            MoveFileA(path.c_str(), away.c_str());
            MoveFileA(away.c_str(), path.c_str());
        } else if (step == "hold") {
            holders.push_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
            model.Hold(path, kShareRead);
        } else if (step == "link") {
            CreateHardLinkA(Expand("c\\second").c_str(), path.c_str(), nullptr);
            model.AddLink(Expand("c\\second"), path);
        }
        const auto relation = [](const FileStamp& before, const FileStamp& after) {
            return !before.known || !after.known ? std::string("not known")
                   : before == after             ? std::string(before.found ? "same" : "nothing")
                                                 : std::string("changed");
        };
        return {relation(realBefore, real.Stamp(path)), relation(modelBefore, model.Stamp(path))};
    }

    // The paths that a situation's words name, in the order they first appear.
    std::vector<std::string> Names(const std::string& text) const {
        std::vector<std::string> names;
        for (const std::string& part : Split(text, ';')) {
            for (const std::string& word : Split(part, ' ')) {
                if (Drive(word) == '\0' || word.find("nowhere") != std::string::npos ||
                    word.size() < 3 || word[2] == '#') {
                    continue;
                }
                const std::string path = Expand(word);
                if (std::find(names.begin(), names.end(), path) == names.end() &&
                    NamesPlainFile(path, kSingleByte)) {
                    names.push_back(path);
                }
            }
        }
        return names;
    }

    static std::string RealState(const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return "nothing";
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return "folder";
        }
        return Shown(winetest::ReadFileText(path));
    }

    std::string ModelState(const std::string& path) const {
        const ModelFile* file = model.Find(path);
        return file == nullptr ? "nothing" : file->folder ? "folder" : Shown(file->content);
    }

    Win32FileCalls real;
    ModelFileSystem model;
    std::string index;
    std::string shortName;
    std::vector<HANDLE> holders;
};

const char* DeliberateReason(const std::string& situation) {
    for (const Difference& difference : kDeliberateDifferences) {
        if (situation == difference.situation) {
            return difference.reason;
        }
    }
    return nullptr;
}

class ModelConformance : public ::testing::TestWithParam<int> {};

} // namespace

TEST(ModelConformanceSetUp, the_unix_side_answers) {
    ASSERT_TRUE(Unix().Ready()) << "run through with-conformance-drives.sh";
    ASSERT_TRUE(Unix().Run("ln -sfn " + Unix().Mounts() + "/linked " +
                           UnixSide::Quoted(Unix().PathOf("C:\\") + "/Linked") + " && ln -sfn " +
                           Unix().Mounts() + "/linked2 " +
                           UnixSide::Quoted(Unix().PathOf("C:\\") + "/Linked2")));
    CreateDirectoryA("C:\\conform", nullptr);
    CreateDirectoryA("E:\\conform", nullptr);
    for (const Difference& difference : kDeliberateDifferences) {
        bool known = false;
        for (const Situation& situation : kSituations) {
            known = known || std::string(situation.name) == difference.situation;
        }
        EXPECT_TRUE(known) << "a deliberate difference of no situation: " << difference.situation;
    }
}

TEST(ModelConformanceSetUp, at_least_150_situations) {
    EXPECT_GE(std::size(kSituations), 150u);
    std::printf("Conformance: %u situations compared, %u deliberate differences\n",
                static_cast<unsigned>(std::size(kSituations)),
                static_cast<unsigned>(std::size(kDeliberateDifferences)));
}

TEST_P(ModelConformance, the_model_does_what_the_real_calls_do) {
    const Situation& situation = kSituations[GetParam()];
    ASSERT_TRUE(Unix().Ready());
    World world(GetParam());
    world.SetUp(situation.setup, situation.call);
    const auto [realResult, modelResult] = world.Call(situation.call);
    const auto [realFiles, modelFiles] =
        world.Files(std::string(situation.setup) + ";" + situation.call);
    const std::string real = realResult + "\n" + realFiles;
    const std::string model = modelResult + "\n" + modelFiles;
    const char* reason = DeliberateReason(situation.name);
    if (reason == nullptr) {
        EXPECT_EQ(real, model) << situation.name << ": " << situation.setup << " | "
                               << situation.call;
    } else {
        EXPECT_NE(real, model) << situation.name
                               << " no longer differs: remove it from the deliberate differences";
    }
    if (std::string(situation.call).rfind("full ", 0) == 0 && realResult.rfind("\\\\.\\", 0) == 0) {
        EXPECT_TRUE(NamesDevice(world.Expand(Split(situation.call, ' ')[1]), kSingleByte))
            << "the host takes a device for a file: " << situation.call;
    }
}

INSTANTIATE_TEST_SUITE_P(Situations, ModelConformance,
                         ::testing::Range(0, static_cast<int>(std::size(kSituations))),
                         [](const ::testing::TestParamInfo<int>& row) {
                             std::string name = kSituations[row.param].name;
                             for (char& c : name) {
                                 const bool plain = (c >= 'a' && c <= 'z') ||
                                                    (c >= 'A' && c <= 'Z') ||
                                                    (c >= '0' && c <= '9');
                                 c = plain ? c : '_';
                             }
                             return name;
                         });
