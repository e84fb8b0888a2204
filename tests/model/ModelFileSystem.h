// One model of the file system as the host sees it through its file calls, for the unit tests of
// the move, the search of every placement and the conformance test, which holds it to the real
// calls under Wine. It knows what was measured there: files with content on file systems that
// may be reached under several names (a SUBST letter, a share of the local disk, a folder linked
// or mounted from another file system), names matched without case but kept with it, short 8.3
// names, final dots and spaces, hard and symbolic links, device names, read-only files, files
// that another program holds open with a given sharing, deletions that wait for that program,
// full and read-only file systems and ones without a free entry, and data not yet written
// through, which a power loss takes away. Windows NT has a rename that never copies; Windows 9x
// has none, and its plain move between file systems copies under the target's name without
// writing it through (Wine's does the same on both). Any call can be made to fail with a given
// error.
#pragma once

#include "CodePageText.h"
#include "FileMove.h"

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

enum class ModelSystem { windowsNt, windows9x };

// Sharing of another program's handle, as CreateFile takes it.
constexpr int kShareRead = 1;
constexpr int kShareWrite = 2;
constexpr int kShareDelete = 4;
constexpr int kNotHeld = -1;

struct ModelFile {
    int id = 0;
    bool folder = false;
    std::string content;
    // What a power loss leaves of the content.
    std::string durable;
    bool readOnly = false;
    // The sharing of another program's handle open for reading; kNotHeld when none is.
    int heldSharing = kNotHeld;
    // Counts the changes of the content, as its last-write time does.
    int version = 0;
};

struct ModelVolume {
    bool readOnly = false;
    std::size_t room = static_cast<std::size_t>(-1);
    std::size_t freeEntries = static_cast<std::size_t>(-1);
};

// A name by which paths reach a file system: "C:\", a SUBST letter "S:\", a share "\\PC\C\", or a
// folder that another file system is linked or mounted in, "C:\Linked\".
struct ModelRoot {
    // In capitals, and as it was given.
    std::string prefix;
    std::string spelled;
    int volume;
    // A share is reached through the network redirector, another device than the file system's
    // own even where the share is on the local disk: renames between the two fail.
    bool share;
    int order;
};

// How a file call's result reads in a call's story and in the conformance test's comparison.
std::string CallResultText(unsigned long failure);
std::string CallResultText(bool answer);
std::string CallResultText(FileIdentity identity);
std::string CallResultText(const FileStamp& stamp);
std::string CallResultText(const std::string& text);

// Where a name leads: a file system and the path within it, as the name was made.
using ModelKey = std::pair<int, std::string>;

class ModelFileSystem final : public FileCalls {
  public:
    explicit ModelFileSystem(ModelSystem modelSystem, const LeadByteRule& rule);
    // The same files, read by another rule of the same code page.
    ModelFileSystem(const ModelFileSystem& other, const LeadByteRule& rule);

    // Setting up.
    void AddRoot(const std::string& prefix, int volume, bool share = false);
    ModelVolume& Volume(int volume) { return volumes[volume]; }
    void AddShortName(const std::string& longPath, const std::string& shortPath);
    int AddFolder(const std::string& path);
    int AddFile(const std::string& path, const std::string& content);
    // A second name of the file (a hard link).
    void AddLink(const std::string& path, const std::string& existing);
    // A symbolic link to a path, which need not exist.
    void AddSymbolicLink(const std::string& path, const std::string& destination);
    void Hold(const std::string& path, int sharing);
    // The other program closes the file: a deletion that waited for it happens now.
    void Release(const std::string& path);
    void SetCurrentFolder(const std::string& folder) { currentFolder = folder; }

    // What a path leads to, following symbolic links; false for a path on no root.
    bool Resolve(const std::string& path, ModelKey& key) const;
    // The name a path gives, a symbolic link's own; false for a path on no root.
    bool NameOf(const std::string& path, ModelKey& key) const { return Locate(path, key); }
    // Every other program closes the files it holds.
    void ReleaseAll();
    // The file a path leads to; null when there is none.
    const ModelFile* Find(const std::string& path) const;
    ModelFile* Find(const std::string& path);
    // Every name with its file, symbolic links left out.
    std::map<ModelKey, const ModelFile*> Names() const;
    // The path of every file, not folder, with its content, each under the first root given for
    // its file system.
    std::map<std::string, std::string> Files() const;
    std::string PathOf(const ModelKey& key) const;
    const ModelFile* FileAt(const ModelKey& key) const;
    // Whether the name is deleted and waits for another program to close the file.
    bool IsBeingDeleted(const ModelKey& key) const {
        const Entry* entry = EntryAt(key);
        return entry != nullptr && entry->deletePending;
    }
    // Where the files are that the host made since the model was set up.
    std::set<ModelKey> MadeByHost() const;
    // Where the file is now; empty when it is gone.
    std::vector<ModelKey> Locations(int id) const;
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
    // Whether Windows takes the path's file name for a device (the model's own reading).
    bool IsDeviceName(const std::string& path) const;

    // The calls made so far; the calls of these numbers, counted from 0, fail with these errors.
    int calls = 0;
    std::map<int, unsigned long> failures;
    // The next calls of these FileCalls functions, by name ("RenameWithoutCopy"), fail so.
    std::multimap<std::string, unsigned long> failNext;
    // Whether each call so far named one of the parts in the middle of the host's list of part
    // names, which fail no differently from their neighbours.
    std::vector<bool> middlePartCalls;
    // The file that another program may delete at any moment: an injected "file not found" or
    // "path not found" makes it so. Of any other file that exists, the system never says so.
    ModelKey vanishing{-1, ""};
    std::function<void()> vanished;
    // Runs after every call, to check what the user keeps at that moment.
    std::function<void()> afterCall;
    // Asked before a file changes: whether the host may change it. Otherwise `faults` tells
    // which file the host changed without leave.
    std::function<bool(int id)> mayChange;
    std::vector<std::string> faults;
    // When set, each call with its result is told here.
    std::vector<std::string>* story = nullptr;

    // What Wine cannot show of Windows 9x stays here from its documentation: Windows 95 does not
    // implement MoveFileEx (Microsoft KB Q129532, "MoveFileEx Not Supported in Windows 95"), and
    // its MoveFile moves a file to "a different file system or drive" by a copy (the Win32 SDK's
    // MoveFile), which nothing writes through: only MoveFileEx has MOVEFILE_WRITE_THROUGH, which
    // "guarantees that a move performed as a copy and delete operation is flushed to disk".
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
    FileStamp Stamp(const std::string& path) override;
    std::string FullPath(const std::string& path) override;

  private:
    struct Entry {
        int file = 0;
        // A symbolic link names its destination instead of a file.
        std::string linkTo;
        // Deleted while another program holds the file, sharing its deletion: the name goes when
        // that program closes it.
        bool deletePending = false;
    };

    bool Begin(const std::string& call, const std::string& first, const std::string& second,
               unsigned long& failure);
    template <typename Result> Result End(Result result);
    std::string Normalized(const std::string& path) const;
    bool IsNormal(const std::string& path) const;
    std::string Folded(const std::string& text) const;
    std::string DeviceBase(const std::string& path) const;
    bool NamesNoPlainFile(const std::string& path) const;
    bool NameKey(const std::string& path, ModelKey& key) const;
    ModelKey Spelled(const ModelKey& key) const;
    bool Locate(const std::string& path, ModelKey& key) const;
    const Entry* EntryAt(const ModelKey& key) const;
    bool Follow(const ModelKey& key, ModelKey& followed) const;
    ModelFile* FileOf(const ModelKey& key);
    unsigned long CheckMove(const std::string& from, const std::string& to, ModelKey& source,
                            ModelKey& target) const;
    unsigned long Rename(const ModelKey& from, const ModelKey& to, bool replace);
    unsigned long CopyAcross(const ModelKey& source, const ModelKey& to);
    unsigned long DeleteName(const ModelKey& key);
    bool ParentExists(const ModelKey& key) const;
    bool HasRoom(int volume, std::size_t bytes) const;
    bool HasFreeEntry(int volume) const;
    void Change(const ModelKey& key, const std::string& what);
    void PutEntry(const ModelKey& key, const Entry& entry);
    void EraseEntry(const ModelKey& key);
    int NewFile(const ModelFile& file);
    const ModelRoot* RootOf(const std::string& path) const;
    bool OnOneDevice(const std::string& first, const std::string& second) const;
    bool IsOpenable(const std::string& path, const ModelFile*& file) const;

    ModelSystem system;
    const LeadByteRule* rule;
    std::vector<ModelRoot> roots;
    std::map<int, ModelVolume> volumes;
    std::map<ModelKey, std::string> shortToLong;
    std::map<ModelKey, Entry> entries;
    // The names of each volume folded to capitals, for lookups without case.
    std::multimap<ModelKey, std::string> folded;
    std::map<int, ModelFile> files;
    std::set<int> hostMade;
    std::set<ModelKey> deletionsRefused;
    std::string currentFolder = "C:\\WINDOWS";
    bool changed = true;
    int nextId = 1;
    int openPart = 0;
};
