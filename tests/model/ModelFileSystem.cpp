#include "ModelFileSystem.h"

#include "SystemErrorCodes.h"

#include <algorithm>

namespace {

using namespace syserror;

// CreateFileA refuses a path longer than this (measured under Wine: 260 characters open, 261
// fail with ERROR_FILENAME_EXCED_RANGE); GetFullPathNameA gives nothing for a path buffer of
// 260 bytes from 260 characters on.
constexpr std::size_t kLongestOpenedPath = 260;
constexpr std::size_t kPathBufferSize = 260;
constexpr int kLinksFollowed = 8;

char Capital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The host tries its part names in turn, and every name between the second and the last but one
// meets the model as its neighbours do.
bool NamesMiddlePart(const std::string& path) {
    const std::string::size_type mark = path.rfind(".~");
    if (mark == std::string::npos || path.size() != mark + 4) {
        return false;
    }
    const std::string digits = path.substr(mark + 2);
    return digits != "00" && digits != "01" && digits != "fe" && digits != "ff";
}

} // namespace

std::string CallResultText(unsigned long code) {
    return code == 0 ? "done" : "error " + std::to_string(code);
}
std::string CallResultText(bool answer) {
    return answer ? "yes" : "no";
}
std::string CallResultText(FileIdentity identity) {
    return identity == FileIdentity::same        ? "one file"
           : identity == FileIdentity::different ? "two files"
                                                 : "not known";
}
std::string CallResultText(const FileStamp& stamp) {
    return !stamp.known ? "not known"
           : stamp.found
               ? "#" + std::to_string(stamp.created) + " version " + std::to_string(stamp.written)
               : "nothing";
}
std::string CallResultText(const std::string& text) {
    return '"' + text + '"';
}

ModelFileSystem::ModelFileSystem(ModelSystem modelSystem, const LeadByteRule& codePage)
    : system(modelSystem), rule(&codePage) {}

ModelFileSystem::ModelFileSystem(const ModelFileSystem& other, const LeadByteRule& codePage)
    : system(other.system), rule(&codePage), roots(other.roots), volumes(other.volumes),
      shortToLong(other.shortToLong), entries(other.entries), folded(other.folded),
      files(other.files), hostMade(other.hostMade), deletionsRefused(other.deletionsRefused),
      currentFolder(other.currentFolder), changed(other.changed), nextId(other.nextId),
      openPart(other.openPart) {}

// The file name's base as Windows reads a device's: before the first dot or colon, without the
// spaces before them.
std::string ModelFileSystem::DeviceBase(const std::string& path) const {
    std::size_t start = 0;
    std::size_t end = std::string::npos;
    for (std::size_t at = 0, next = 0; at < path.size(); at = next) {
        next = CharacterEnd(path, at, *rule);
        const bool oneByte = next == at + 1;
        if (oneByte && IsSeparator(path[at])) {
            start = next;
            end = std::string::npos;
        } else if (oneByte && end == std::string::npos && (path[at] == '.' || path[at] == ':')) {
            end = at;
        }
    }
    end = end == std::string::npos ? path.size() : end;
    while (end > start && path[end - 1] == ' ') {
        --end;
    }
    return path.substr(start, end - start);
}

bool ModelFileSystem::IsDeviceName(const std::string& path) const {
    std::string base = DeviceBase(path);
    if (base.size() < 3 || base.size() > 7) {
        return false;
    }
    for (char& c : base) {
        c = Capital(c);
    }
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$") {
        return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// A path whose form names no plain file: a device, a stream, a wildcard, a character that names
// refuse.
bool ModelFileSystem::NamesNoPlainFile(const std::string& path) const {
    for (std::size_t at = 0, next = 0; at < path.size(); at = next) {
        next = CharacterEnd(path, at, *rule);
        const char c = path[at];
        if (next == at + 1 && ((c == ':' && at != 1) || c == '*' || c == '?' || c == '"' ||
                               c == '<' || c == '>' || c == '|')) {
            return true;
        }
    }
    return IsDeviceName(path);
}

std::string ModelFileSystem::Folded(const std::string& text) const {
    std::string result = text;
    for (std::size_t at = 0; at < result.size();) {
        const std::size_t end = CharacterEnd(result, at, *rule);
        if (end == at + 1) {
            result[at] = Capital(result[at]);
        }
        at = end;
    }
    return result;
}

// As GetFullPathNameA makes it: from the current folder, "/" read as "\", no empty or "."
// component, ".." taking the one before it, and each name's final dots and spaces dropped.
std::string ModelFileSystem::Normalized(const std::string& path) const {
    if (IsNormal(path)) {
        return path;
    }
    std::string full = path;
    const bool drive = full.size() >= 2 && full[1] == ':';
    const bool network = full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1]);
    if (drive && (full.size() == 2 || !IsSeparator(full[2]))) {
        full = Capital(full[0]) == Capital(currentFolder[0])
                   ? currentFolder + "\\" + full.substr(2)
                   : full.substr(0, 2) + "\\" + full.substr(2);
    } else if (!drive && !network) {
        full =
            IsSeparator(full[0]) ? currentFolder.substr(0, 2) + full : currentFolder + "\\" + full;
    }
    std::vector<std::string> components;
    if (full.empty()) {
        return full;
    }
    std::string component;
    const auto finish = [&components, &component] {
        while (component.size() > 1 && component != ".." &&
               (component.back() == '.' || component.back() == ' ')) {
            component.pop_back();
        }
        if (component == "..") {
            if (components.size() > 1) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        component.clear();
    };
    for (std::size_t at = 0; at < full.size();) {
        const std::size_t end = CharacterEnd(full, at, *rule);
        if (end == at + 1 && IsSeparator(full[at])) {
            finish();
        } else {
            component.append(full, at, end - at);
        }
        at = end;
    }
    finish();
    if (components.empty()) {
        return full;
    }
    std::string result = network ? "\\\\" : "";
    for (std::size_t index = 0; index < components.size(); ++index) {
        result += (index == 0 ? "" : "\\") + components[index];
    }
    return components.size() == 1 && drive ? result + "\\" : result;
}

// A full path of a drive that GetFullPathNameA gives back unchanged.
bool ModelFileSystem::IsNormal(const std::string& path) const {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\' || path.back() == '.' ||
        path.back() == ' ') {
        return false;
    }
    for (std::size_t at = 2, next = 0; at < path.size(); at = next) {
        next = CharacterEnd(path, at, *rule);
        const bool beforeSeparator = next < path.size() && path[next] == '\\';
        if (next == at + 1 && (path[at] == '/' ||
                               (path[at] == '\\' && next < path.size() &&
                                (path[next] == '\\' || path[next] == '.')) ||
                               ((path[at] == '.' || path[at] == ' ') && beforeSeparator))) {
            return false;
        }
    }
    return true;
}

void ModelFileSystem::AddRoot(const std::string& prefix, int volume, bool share) {
    roots.push_back({Folded(prefix), prefix, volume, share, static_cast<int>(roots.size())});
    volumes[volume];
    std::sort(roots.begin(), roots.end(), [](const ModelRoot& first, const ModelRoot& second) {
        return first.prefix.size() > second.prefix.size();
    });
}

const ModelRoot* ModelFileSystem::RootOf(const std::string& path) const {
    const std::string capitals = Folded(path + "\\");
    for (const ModelRoot& root : roots) {
        if (capitals.compare(0, root.prefix.size(), root.prefix) == 0) {
            return &root;
        }
    }
    return nullptr;
}

bool ModelFileSystem::OnOneDevice(const std::string& first, const std::string& second) const {
    const ModelRoot* firstRoot = RootOf(Normalized(first));
    const ModelRoot* secondRoot = RootOf(Normalized(second));
    return firstRoot->volume == secondRoot->volume && firstRoot->share == secondRoot->share;
}

// The name that a path gives within its file system: the entry that has it, with or without
// case, or the name a new entry would get.
bool ModelFileSystem::Locate(const std::string& path, ModelKey& key) const {
    if (!NameKey(path, key)) {
        return false;
    }
    // A short name is the long one's only while that file is there.
    const auto alias = shortToLong.find({key.first, Folded(key.second)});
    if (alias != shortToLong.end() && entries.count({key.first, alias->second}) != 0) {
        key.second = alias->second;
    }
    key = Spelled(key);
    return true;
}

// The name as it is spelled, within the file system its path reaches.
bool ModelFileSystem::NameKey(const std::string& path, ModelKey& key) const {
    if (path.empty() || NamesNoPlainFile(path)) {
        return false;
    }
    const std::string full = Normalized(path);
    const ModelRoot* root = RootOf(full);
    if (root == nullptr) {
        return false;
    }
    key = {root->volume, full.size() > root->prefix.size() ? full.substr(root->prefix.size()) : ""};
    return true;
}

// A name of the same spelling but for case, where there is none of the exact spelling.
ModelKey ModelFileSystem::Spelled(const ModelKey& key) const {
    if (entries.count(key) != 0) {
        return key;
    }
    const auto spelled = folded.find({key.first, Folded(key.second)});
    return spelled == folded.end() ? key : ModelKey{key.first, spelled->second};
}

const ModelFileSystem::Entry* ModelFileSystem::EntryAt(const ModelKey& key) const {
    const auto found = entries.find(key);
    return found == entries.end() ? nullptr : &found->second;
}

bool ModelFileSystem::Follow(const ModelKey& key, ModelKey& followed) const {
    followed = key;
    for (int link = 0; link < kLinksFollowed; ++link) {
        const Entry* entry = EntryAt(followed);
        if (entry == nullptr) {
            return false;
        }
        if (entry->linkTo.empty()) {
            return true;
        }
        if (!Locate(entry->linkTo, followed)) {
            return false;
        }
    }
    return false;
}

bool ModelFileSystem::Resolve(const std::string& path, ModelKey& key) const {
    ModelKey named;
    if (!Locate(path, named)) {
        return false;
    }
    Follow(named, key);
    return true;
}

const ModelFile* ModelFileSystem::Find(const std::string& path) const {
    ModelKey key;
    return Resolve(path, key) ? FileAt(key) : nullptr;
}

ModelFile* ModelFileSystem::Find(const std::string& path) {
    return const_cast<ModelFile*>(static_cast<const ModelFileSystem*>(this)->Find(path));
}

const ModelFile* ModelFileSystem::FileAt(const ModelKey& key) const {
    const Entry* entry = EntryAt(key);
    if (entry == nullptr || !entry->linkTo.empty()) {
        return nullptr;
    }
    return &files.at(entry->file);
}

ModelFile* ModelFileSystem::FileOf(const ModelKey& key) {
    return const_cast<ModelFile*>(FileAt(key));
}

std::map<ModelKey, const ModelFile*> ModelFileSystem::Names() const {
    std::map<ModelKey, const ModelFile*> names;
    for (const auto& [key, entry] : entries) {
        if (entry.linkTo.empty()) {
            names[key] = &files.at(entry.file);
        }
    }
    return names;
}

std::string ModelFileSystem::PathOf(const ModelKey& key) const {
    const ModelRoot* first = nullptr;
    for (const ModelRoot& root : roots) {
        if (root.volume == key.first && (first == nullptr || root.order < first->order)) {
            first = &root;
        }
    }
    return first->spelled + key.second;
}

std::map<std::string, std::string> ModelFileSystem::Files() const {
    std::map<std::string, std::string> paths;
    for (const auto& [key, file] : Names()) {
        if (!file->folder) {
            paths[PathOf(key)] = file->content;
        }
    }
    return paths;
}

std::set<ModelKey> ModelFileSystem::MadeByHost() const {
    std::set<ModelKey> made;
    for (const auto& [key, entry] : entries) {
        if (entry.linkTo.empty() && hostMade.count(entry.file) != 0) {
            made.insert(key);
        }
    }
    return made;
}

std::vector<ModelKey> ModelFileSystem::Locations(int id) const {
    std::vector<ModelKey> keys;
    for (const auto& [key, entry] : entries) {
        if (entry.linkTo.empty() && entry.file == id) {
            keys.push_back(key);
        }
    }
    return keys;
}

void ModelFileSystem::PutEntry(const ModelKey& key, const Entry& entry) {
    EraseEntry(key);
    entries[key] = entry;
    folded.insert({{key.first, Folded(key.second)}, key.second});
    changed = true;
}

void ModelFileSystem::EraseEntry(const ModelKey& key) {
    const auto found = entries.find(key);
    if (found == entries.end()) {
        return;
    }
    entries.erase(found);
    const auto range = folded.equal_range({key.first, Folded(key.second)});
    for (auto spelled = range.first; spelled != range.second; ++spelled) {
        if (spelled->second == key.second) {
            folded.erase(spelled);
            break;
        }
    }
    changed = true;
}

int ModelFileSystem::NewFile(const ModelFile& file) {
    const int id = nextId++;
    files[id] = file;
    files[id].id = id;
    return id;
}

void ModelFileSystem::AddShortName(const std::string& longPath, const std::string& shortPath) {
    ModelKey longKey;
    ModelKey shortKey;
    Locate(longPath, longKey);
    Locate(shortPath, shortKey);
    shortToLong[{shortKey.first, Folded(shortKey.second)}] = longKey.second;
}

int ModelFileSystem::AddFolder(const std::string& path) {
    ModelKey key;
    Locate(path, key);
    ModelFile folder;
    folder.folder = true;
    const int id = NewFile(folder);
    PutEntry(key, {id, "", false});
    return id;
}

int ModelFileSystem::AddFile(const std::string& path, const std::string& content) {
    // A twin that differs only in case is a file of its own, as a Unix file system keeps it.
    ModelKey key;
    NameKey(path, key);
    ModelFile file;
    file.content = content;
    file.durable = content;
    const int id = NewFile(file);
    PutEntry(key, {id, "", false});
    return id;
}

void ModelFileSystem::AddLink(const std::string& path, const std::string& existing) {
    ModelKey key;
    ModelKey existingKey;
    Locate(path, key);
    Locate(existing, existingKey);
    PutEntry(key, {EntryAt(existingKey)->file, "", false});
}

void ModelFileSystem::AddSymbolicLink(const std::string& path, const std::string& destination) {
    ModelKey key;
    Locate(path, key);
    PutEntry(key, {0, destination, false});
}

void ModelFileSystem::Hold(const std::string& path, int sharing) {
    Find(path)->heldSharing = sharing;
}

void ModelFileSystem::Release(const std::string& path) {
    ModelKey key;
    Resolve(path, key);
    const int id = EntryAt(key)->file;
    files.at(id).heldSharing = kNotHeld;
    for (const ModelKey& name : Locations(id)) {
        if (entries.at(name).deletePending) {
            EraseEntry(name);
        }
    }
}

void ModelFileSystem::ReleaseAll() {
    for (auto& [id, file] : files) {
        file.heldSharing = kNotHeld;
    }
    std::vector<ModelKey> deleted;
    for (const auto& [key, entry] : entries) {
        if (entry.deletePending) {
            deleted.push_back(key);
        }
    }
    for (const ModelKey& key : deleted) {
        EraseEntry(key);
    }
}

void ModelFileSystem::Remove(const std::string& path) {
    ModelKey key;
    if (Locate(path, key)) {
        EraseEntry(key);
    }
}

std::string ModelFileSystem::Describe(const ModelKey& key) const {
    std::string text = "volume " + std::to_string(key.first) + ":" + key.second;
    const Entry* entry = EntryAt(key);
    if (entry == nullptr) {
        return text + " (nothing)";
    }
    if (!entry->linkTo.empty()) {
        return text + " (link to " + entry->linkTo + ")";
    }
    const ModelFile& file = files.at(entry->file);
    if (file.folder) {
        return text + " (folder)";
    }
    text += " #" + std::to_string(file.id) + " \"" + file.content + "\"";
    if (file.durable != file.content) {
        text += " (on the drive: \"" + file.durable + "\")";
    }
    return text + (file.readOnly ? " read-only" : "") +
           (file.heldSharing != kNotHeld ? " held open" : "") +
           (entry->deletePending ? " being deleted" : "") +
           (hostMade.count(file.id) != 0 ? " made by the host" : "");
}

bool ModelFileSystem::Begin(const std::string& call, const std::string& first,
                            const std::string& second, unsigned long& failure) {
    if (call != "FullPath" && (NamesNoPlainFile(first) || NamesNoPlainFile(second))) {
        faults.push_back(call + " was given " + (NamesNoPlainFile(first) ? first : second) +
                         ", which names no plain file");
    }
    middlePartCalls.push_back(NamesMiddlePart(first) || NamesMiddlePart(second));
    if (story != nullptr) {
        story->push_back(std::to_string(calls) + ". " + call + "(" + first +
                         (second.empty() ? "" : ", " + second) + ")");
    }
    const auto injected = failures.find(calls++);
    const auto next = failNext.find(call);
    if (injected == failures.end() && next == failNext.end()) {
        return false;
    }
    ModelKey key;
    const unsigned long failWith = injected != failures.end() ? injected->second : next->second;
    if (injected == failures.end()) {
        failNext.erase(next);
        failure = failWith;
        return true;
    }
    if ((failWith == kFileNotFound || failWith == kPathNotFound) && Resolve(first, key) &&
        EntryAt(key) != nullptr) {
        if (key != vanishing) {
            return false;
        }
        EraseEntry(key);
        if (vanished) {
            vanished();
        }
    }
    failure = failWith;
    return true;
}

template <typename Result> Result ModelFileSystem::End(Result result) {
    if (story != nullptr) {
        story->back() += " -> " + CallResultText(result);
    }
    if (afterCall) {
        afterCall();
    }
    return result;
}

bool ModelFileSystem::ParentExists(const ModelKey& key) const {
    const std::string::size_type slash = FindLastCharacter(key.second, '\\', *rule);
    if (slash == std::string::npos) {
        return true;
    }
    ModelKey parent;
    return Follow(Spelled({key.first, key.second.substr(0, slash)}), parent) &&
           FileAt(parent)->folder;
}

bool ModelFileSystem::HasRoom(int volume, std::size_t bytes) const {
    return bytes <= volumes.at(volume).room;
}

bool ModelFileSystem::HasFreeEntry(int volume) const {
    std::size_t used = 0;
    for (const auto& [key, entry] : entries) {
        used += key.first == volume ? 1 : 0;
    }
    return used < volumes.at(volume).freeEntries;
}

void ModelFileSystem::Change(const ModelKey& key, const std::string& what) {
    const ModelFile* file = FileAt(key);
    if (file != nullptr && mayChange && !mayChange(file->id)) {
        faults.push_back("the host " + what + " " + Describe(key) + ", a file it did not make");
    }
}

unsigned long ModelFileSystem::Rename(const ModelKey& from, const ModelKey& to, bool replace) {
    Change(from, "renamed");
    if (replace) {
        Change(to, "replaced");
    }
    const Entry moved = entries.at(from);
    EraseEntry(from);
    PutEntry(to, moved);
    return kSuccess;
}

// Where a move's two paths lead, and the failure of a move whose source or target's folder is
// missing.
unsigned long ModelFileSystem::CheckMove(const std::string& from, const std::string& to,
                                         ModelKey& source, ModelKey& target) const {
    if (!Locate(from, source) || !Locate(to, target)) {
        return kPathNotFound;
    }
    if (EntryAt(source) == nullptr) {
        return ParentExists(source) ? kFileNotFound : kPathNotFound;
    }
    // Wine renames the file that a symbolic link leads to, and leaves the link (measured).
    if (!entries.at(source).linkTo.empty() && !Follow(ModelKey(source), source)) {
        return kFileNotFound;
    }
    return ParentExists(target) ? kSuccess : kPathNotFound;
}

unsigned long ModelFileSystem::RenameWithoutCopy(const std::string& from, const std::string& to,
                                                 ExistingTarget existing) {
    if (system == ModelSystem::windows9x) {
        faults.push_back("MoveFileExA was called on Windows 9x, which has none");
        return kCallNotImplemented;
    }
    const bool replace = existing == ExistingTarget::replace;
    unsigned long failure = 0;
    if (Begin("RenameWithoutCopy", from, to, failure)) {
        return End(failure);
    }
    ModelKey source;
    ModelKey target;
    const unsigned long located = CheckMove(from, to, source, target);
    if (located != kSuccess) {
        return End(located);
    }
    if (volumes.at(source.first).readOnly) {
        return End(kAccessDenied);
    }
    if (!OnOneDevice(from, to)) {
        return End(kNotSameDevice);
    }
    const Entry& moved = entries.at(source);
    const Entry* there = EntryAt(target);
    if (source == target || (there != nullptr && moved.linkTo.empty() && there->linkTo.empty() &&
                             there->file == moved.file)) {
        return End(kSuccess);
    }
    if (moved.linkTo.empty() && files.at(moved.file).heldSharing != kNotHeld &&
        (files.at(moved.file).heldSharing & kShareDelete) == 0) {
        return End(kSharingViolation);
    }
    ModelKey followed;
    const bool occupied = there != nullptr && Follow(target, followed);
    if (occupied && there->linkTo.empty()) {
        if (!replace) {
            return End(kAlreadyExists);
        }
        const ModelFile& file = files.at(there->file);
        if (file.folder || file.readOnly || file.heldSharing != kNotHeld || there->deletePending) {
            return End(kAccessDenied);
        }
    } else if (occupied && !replace) {
        return End(kAlreadyExists);
    }
    return End(Rename(source, target, occupied && there->linkTo.empty()));
}

// A plain move between file systems copies, and deletes the source as DeleteFileA does.
unsigned long ModelFileSystem::CopyAcross(const ModelKey& source, const ModelKey& to) {
    ModelKey followed;
    if (!Follow(source, followed) || FileAt(followed)->folder) {
        return kAccessDenied;
    }
    const ModelFile& original = *FileAt(followed);
    if (original.heldSharing != kNotHeld && (original.heldSharing & kShareDelete) == 0) {
        return kSharingViolation;
    }
    if (volumes.at(to.first).readOnly) {
        return kAccessDenied;
    }
    if (!HasFreeEntry(to.first)) {
        return kDiskFull;
    }
    ModelFile copy;
    const bool fits = HasRoom(to.first, original.content.size());
    copy.content = fits ? original.content : original.content.substr(0, volumes.at(to.first).room);
    const int id = NewFile(copy);
    hostMade.insert(id);
    PutEntry(to, {id, "", false});
    return fits ? DeleteName(source) : kDiskFull;
}

unsigned long ModelFileSystem::Move(const std::string& from, const std::string& to) {
    unsigned long failure = 0;
    if (Begin("Move", from, to, failure)) {
        return End(failure);
    }
    ModelKey source;
    ModelKey target;
    const unsigned long located = CheckMove(from, to, source, target);
    if (located != kSuccess) {
        return End(located);
    }
    ModelKey followed;
    const Entry* there = EntryAt(target);
    if (source == target ||
        (there != nullptr && there->linkTo.empty() && entries.at(source).linkTo.empty() &&
         there->file == entries.at(source).file)) {
        return End(kSuccess);
    }
    if (there != nullptr && Follow(target, followed)) {
        return End(kAlreadyExists);
    }
    if (!OnOneDevice(from, to)) {
        return End(CopyAcross(source, target));
    }
    if (volumes.at(source.first).readOnly) {
        return End(kAccessDenied);
    }
    const Entry& moved = entries.at(source);
    if (moved.linkTo.empty() && files.at(moved.file).heldSharing != kNotHeld &&
        (files.at(moved.file).heldSharing & kShareDelete) == 0) {
        return End(kSharingViolation);
    }
    return End(Rename(source, target, false));
}

unsigned long ModelFileSystem::CreatePart(const std::string& part) {
    openPart = 0;
    unsigned long failure = 0;
    if (Begin("CreatePart", part, "", failure)) {
        return End(failure);
    }
    ModelKey key;
    if (!Locate(part, key) || !ParentExists(key)) {
        return End(kPathNotFound);
    }
    if (EntryAt(key) != nullptr) {
        return End(kFileExists);
    }
    if (part.size() > kLongestOpenedPath) {
        return End(kFilenameTooLong);
    }
    if (volumes.at(key.first).readOnly) {
        return End(kAccessDenied);
    }
    if (!HasFreeEntry(key.first)) {
        return End(kDiskFull);
    }
    const int id = NewFile(ModelFile());
    hostMade.insert(id);
    PutEntry(key, {id, "", false});
    openPart = id;
    return End(kSuccess);
}

// A failure part-way leaves what was written so far, none of it written through.
unsigned long ModelFileSystem::FillPart(const std::string& from) {
    const int part = openPart;
    openPart = 0;
    unsigned long failure = 0;
    const bool injected = Begin("FillPart", from, "", failure);
    const auto written = files.find(part);
    if (written == files.end()) {
        return End(kInvalidHandle);
    }
    ModelFile& copy = written->second;
    changed = true;
    ++copy.version;
    const ModelFile* source = Find(from);
    if (injected) {
        copy.content =
            source == nullptr ? "" : source->content.substr(0, source->content.size() / 2);
        return End(failure);
    }
    if (source == nullptr || source->folder) {
        return End(source == nullptr ? kFileNotFound : kAccessDenied);
    }
    if (source->heldSharing != kNotHeld && (source->heldSharing & kShareRead) == 0) {
        return End(kSharingViolation);
    }
    const int volume = Locations(part).front().first;
    if (!HasRoom(volume, source->content.size())) {
        copy.content = source->content.substr(0, volumes.at(volume).room);
        return End(kDiskFull);
    }
    copy.content = source->content;
    copy.durable = copy.content;
    return End(kSuccess);
}

// Wine deletes the file that a symbolic link leads to, not the link (measured).
unsigned long ModelFileSystem::DeleteName(const ModelKey& key) {
    ModelKey followed;
    if (!Follow(key, followed)) {
        return kFileNotFound;
    }
    Entry& entry = entries.at(followed);
    const ModelFile& file = files.at(entry.file);
    if (entry.deletePending) {
        return kSuccess;
    }
    if (file.folder || file.readOnly) {
        return kAccessDenied;
    }
    if (volumes.at(followed.first).readOnly) {
        return kSuccess;
    }
    if (file.heldSharing != kNotHeld) {
        if ((file.heldSharing & kShareDelete) == 0) {
            return kSharingViolation;
        }
        Change(followed, "deleted");
        entry.deletePending = true;
        changed = true;
        return kSuccess;
    }
    Change(followed, "deleted");
    EraseEntry(followed);
    return kSuccess;
}

unsigned long ModelFileSystem::Delete(const std::string& path) {
    unsigned long failure = 0;
    ModelKey key;
    const bool located = Locate(path, key);
    if (located && EntryAt(key) != nullptr) {
        deletionsRefused.insert(key);
    }
    if (Begin("Delete", path, "", failure)) {
        return End(failure);
    }
    if (!located) {
        return End(kPathNotFound);
    }
    if (EntryAt(key) == nullptr) {
        return End(ParentExists(key) ? kFileNotFound : kPathNotFound);
    }
    const unsigned long deleted = DeleteName(key);
    if (deleted == kSuccess) {
        deletionsRefused.erase(key);
    }
    return End(deleted);
}

bool ModelFileSystem::Exists(const std::string& path) {
    unsigned long failure = 0;
    if (Begin("Exists", path, "", failure)) {
        return End(failure != kFileNotFound && failure != kPathNotFound);
    }
    // A path too long to open is refused with ERROR_FILENAME_EXCED_RANGE: it may be there.
    return End(path.size() > kLongestOpenedPath || Find(path) != nullptr);
}

bool ModelFileSystem::IsReadOnlyOrFolder(const std::string& path) {
    unsigned long failure = 0;
    if (Begin("IsReadOnlyOrFolder", path, "", failure)) {
        return End(false);
    }
    const ModelFile* file = Find(path);
    return End(file != nullptr && (file->readOnly || file->folder));
}

// Opened for reading without sharing: refused while another program holds the file, and for a
// folder or a name being deleted.
bool ModelFileSystem::IsOpenable(const std::string& path, const ModelFile*& file) const {
    ModelKey key;
    file = Resolve(path, key) ? FileAt(key) : nullptr;
    return file != nullptr && !file->folder && file->heldSharing == kNotHeld &&
           !EntryAt(key)->deletePending;
}

FileIdentity ModelFileSystem::CompareFiles(const std::string& first, const std::string& second) {
    unsigned long failure = 0;
    if (Begin("CompareFiles", first, second, failure)) {
        return End(FileIdentity::unknown);
    }
    const ModelFile* firstFile = nullptr;
    const ModelFile* secondFile = nullptr;
    if (!IsOpenable(first, firstFile) || !IsOpenable(second, secondFile)) {
        return End(FileIdentity::unknown);
    }
    return End(firstFile == secondFile ? FileIdentity::same : FileIdentity::different);
}

FileStamp ModelFileSystem::Stamp(const std::string& path) {
    unsigned long failure = 0;
    FileStamp stamp;
    if (Begin("Stamp", path, "", failure)) {
        return End(stamp);
    }
    stamp.known = true;
    const ModelFile* file = Find(path);
    if (file != nullptr) {
        stamp.found = true;
        stamp.attributes =
            (file->readOnly ? 1u : 0u) | (file->folder ? FileStamp::kFolderAttribute : 0u);
        stamp.size = file->content.size();
        stamp.created = static_cast<unsigned long long>(file->id);
        stamp.written = static_cast<unsigned long long>(file->version);
    }
    return End(stamp);
}

std::string ModelFileSystem::FullPath(const std::string& path) {
    unsigned long failure = 0;
    if (Begin("FullPath", path, "", failure) || path.empty()) {
        return End(std::string());
    }
    const std::string full = IsDeviceName(path) ? "\\\\.\\" + DeviceBase(path) : Normalized(path);
    return End(full.size() < kPathBufferSize ? full : std::string());
}
