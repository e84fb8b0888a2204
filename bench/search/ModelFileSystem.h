// A model of the file system as the host sees it through its file calls: files with content and
// identity on volumes, names matched without case, several names of one volume (a SUBST letter,
// a share of the local disk, a folder mounted from another volume), short 8.3 names, device
// names, read-only files, files held open by another program, a drive with little room, and data
// not yet written through, which a power loss takes away. Windows NT has a rename that never
// copies and one that replaces; Windows 9x has neither, and its plain move between volumes copies
// under the target's name. Any one call can be made to fail with a given error.
#pragma once

#include "FileMove.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

enum class ModelSystem { windowsNt, windows9x };

struct ModelFile {
    int id = 0;
    bool folder = false;
    std::string content;
    // What a power loss leaves of the content.
    std::string durable;
    bool readOnly = false;
    // Open in another program that shares it for reading only: it cannot be renamed or deleted.
    bool heldOpen = false;
};

// A name by which paths reach a volume: "C:\", a SUBST letter "S:\", a share "\\PC\C\", or a
// folder that another volume is mounted in, "C:\MNT\". Upper case.
struct ModelRoot {
    std::string prefix;
    int volume;
    // A share is reached through the network redirector, another device than the volume's own
    // file system even where the share is on the local disk: renames between the two fail.
    bool share;
    // Whether the system gives a file's identity through this name.
    bool givesIdentity;
};

// Where a path leads: a volume and the upper-case path within it, in long names.
using ModelKey = std::pair<int, std::string>;

class ModelFileSystem final : public FileCalls {
  public:
    explicit ModelFileSystem(ModelSystem modelSystem) : system(modelSystem) {}

    // Setting up.
    void AddRoot(const std::string& prefix, int volume, bool share, bool givesIdentity);
    void SetRoom(int volume, std::size_t bytes) { room[volume] = bytes; }
    void AddShortName(int volume, const std::string& longPath, const std::string& shortPath);
    void AddFolder(const std::string& path);
    int AddFile(const std::string& path, const std::string& content);

    // What a path leads to; false for a path on no root.
    bool Resolve(const std::string& path, ModelKey& key) const;
    const ModelFile* Find(const std::string& path) const;
    ModelFile* Find(const std::string& path);
    const std::map<ModelKey, ModelFile>& Entries() const { return entries; }
    // Where the files are that the host made since the model was set up.
    const std::set<ModelKey>& MadeByHost() const { return hostMadeKeys; }
    // Where the file is now; null when it is gone.
    const ModelKey* Location(int id) const {
        const auto found = locations.find(id);
        return found == locations.end() ? nullptr : &found->second;
    }
    // Files whose deletion the system refused to the host.
    const std::set<ModelKey>& DeletionsRefused() const { return deletionsRefused; }
    // Whether any file changed since the last time this was asked.
    bool TakeChanged() {
        const bool was = changed;
        changed = false;
        return was;
    }
    void Remove(const std::string& path);
    std::string Describe(const ModelKey& key) const;

    // The calls made so far; the call of this number, counted from 0, fails with this error.
    int calls = 0;
    int failAt = -1;
    unsigned long failWith = 0;
    // Whether each call so far named one of the parts in the middle of the host's list of part
    // names, which fail no differently from their neighbours.
    std::vector<bool> middlePartCalls;
    // The file that another program may delete at any moment: an injected "file not found" or
    // "path not found" makes it so. Of any other file that exists, the system never says so.
    ModelKey vanishing{-1, ""};
    std::function<void()> vanished;
    // Runs after every call, to check what the user keeps at that moment.
    std::function<void()> afterCall;
    // Asked before a file changes: whether the host may change it. Otherwise `changedFiles`
    // tells which file the host changed without leave.
    std::function<bool(int id)> mayChange;
    std::vector<std::string> faults;
    // When set, each call with its result is told here.
    std::vector<std::string>* story = nullptr;

    bool HasRenameWithoutCopy() override { return system == ModelSystem::windowsNt; }
    unsigned long RenameWithoutCopy(const std::string& from, const std::string& to,
                                    ExistingTarget existing) override;
    unsigned long Move(const std::string& from, const std::string& to) override;
    unsigned long CreatePart(const std::string& part) override;
    unsigned long FillPart(const std::string& from) override;
    unsigned long Delete(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool IsReadOnlyOrFolder(const std::string& path) override;
    FileIdentity CompareFiles(const std::string& first, const std::string& second) override;
    std::string FullPath(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;

  private:
    bool Begin(const std::string& call, const std::string& first, const std::string& second,
               unsigned long& failure);
    template <typename Result> Result End(const std::string& call, Result result);
    unsigned long Locate(const std::string& from, const std::string& to, ModelKey& source,
                         ModelKey& target) const;
    unsigned long Rename(const ModelKey& from, const ModelKey& to, bool replace);
    unsigned long CopyUnderName(const ModelFile& source, const ModelKey& to);
    bool ParentExists(const ModelKey& key) const;
    void Change(const ModelKey& key, const std::string& what);
    void Erase(const ModelKey& key);
    void Put(const ModelKey& key, const ModelFile& file);
    const ModelRoot* RootOf(const std::string& upperPath) const;
    bool OnOneDevice(const std::string& first, const std::string& second) const;

    ModelSystem system;
    std::vector<ModelRoot> roots;
    std::map<int, std::size_t> room;
    std::map<ModelKey, std::string> shortToLong;
    std::map<ModelKey, std::string> longToShort;
    std::map<ModelKey, ModelFile> entries;
    std::set<int> hostMade;
    std::set<ModelKey> hostMadeKeys;
    std::map<int, ModelKey> locations;
    std::set<ModelKey> deletionsRefused;
    bool changed = true;
    int nextId = 1;
    ModelKey openPart{-1, ""};
};

std::string Upper(const std::string& text);
