#include "ModelFileSystem.h"

#include <algorithm>

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kPathNotFound = 3;
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kInvalidHandle = 6;
constexpr unsigned long kNotSameDevice = 17;
constexpr unsigned long kSharingViolation = 32;
constexpr unsigned long kFileExists = 80;
constexpr unsigned long kDiskFull = 112;
constexpr unsigned long kCallNotImplemented = 120;
constexpr unsigned long kAlreadyExists = 183;

// Told apart from the host's own rule, which it checks: CON, PRN, AUX, NUL, COM1 to COM9 and
// LPT1 to LPT9, with any extension and spaces before it, in any case.
bool IsDeviceName(const std::string& path) {
    const std::string::size_type slash = path.rfind('\\');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::size_t end = path.find('.', start);
    end = end == std::string::npos ? path.size() : end;
    while (end > start && path[end - 1] == ' ') {
        --end;
    }
    char base[5] = {};
    if (end - start < 3 || end - start > 4) {
        return false;
    }
    for (std::size_t at = start; at < end; ++at) {
        const char c = path[at];
        base[at - start] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const std::string name(base);
    if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL") {
        return true;
    }
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
           name[3] >= '1' && name[3] <= '9';
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

std::string Code(unsigned long code) {
    return code == 0 ? "done" : "error " + std::to_string(code);
}
std::string Code(bool answer) {
    return answer ? "yes" : "no";
}
std::string Code(FileIdentity identity) {
    return identity == FileIdentity::same        ? "one file"
           : identity == FileIdentity::different ? "two files"
                                                 : "not known";
}
std::string Code(const std::string& text) {
    return '"' + text + '"';
}

} // namespace

std::string Upper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

void ModelFileSystem::AddRoot(const std::string& prefix, int volume, bool share,
                              bool givesIdentity) {
    roots.push_back({Upper(prefix), volume, share, givesIdentity});
    std::sort(roots.begin(), roots.end(), [](const ModelRoot& first, const ModelRoot& second) {
        return first.prefix.size() > second.prefix.size();
    });
}

void ModelFileSystem::AddShortName(int volume, const std::string& longPath,
                                   const std::string& shortPath) {
    shortToLong[{volume, Upper(shortPath)}] = Upper(longPath);
    longToShort[{volume, Upper(longPath)}] = Upper(shortPath);
}

void ModelFileSystem::AddFolder(const std::string& path) {
    ModelKey key;
    Resolve(path, key);
    ModelFile folder;
    folder.id = nextId++;
    folder.folder = true;
    Put(key, folder);
}

int ModelFileSystem::AddFile(const std::string& path, const std::string& content) {
    ModelKey key;
    Resolve(path, key);
    ModelFile file;
    file.id = nextId++;
    file.content = content;
    file.durable = content;
    Put(key, file);
    return file.id;
}

const ModelRoot* ModelFileSystem::RootOf(const std::string& upperPath) const {
    for (const ModelRoot& root : roots) {
        if (upperPath.compare(0, root.prefix.size(), root.prefix) == 0) {
            return &root;
        }
    }
    return nullptr;
}

bool ModelFileSystem::OnOneDevice(const std::string& first, const std::string& second) const {
    const ModelRoot* firstRoot = RootOf(Upper(first));
    const ModelRoot* secondRoot = RootOf(Upper(second));
    return firstRoot->volume == secondRoot->volume && firstRoot->share == secondRoot->share;
}

bool ModelFileSystem::Resolve(const std::string& path, ModelKey& key) const {
    const std::string upper = Upper(path);
    const ModelRoot* root = RootOf(upper);
    if (root == nullptr || IsDeviceName(path)) {
        return false;
    }
    key = {root->volume, upper.substr(root->prefix.size())};
    const auto longName = shortToLong.find(key);
    if (longName != shortToLong.end()) {
        key.second = longName->second;
    }
    return true;
}

const ModelFile* ModelFileSystem::Find(const std::string& path) const {
    ModelKey key;
    if (!Resolve(path, key)) {
        return nullptr;
    }
    const auto found = entries.find(key);
    return found == entries.end() ? nullptr : &found->second;
}

ModelFile* ModelFileSystem::Find(const std::string& path) {
    return const_cast<ModelFile*>(static_cast<const ModelFileSystem*>(this)->Find(path));
}

void ModelFileSystem::Erase(const ModelKey& key) {
    const auto found = entries.find(key);
    if (found != entries.end()) {
        locations.erase(found->second.id);
        entries.erase(found);
    }
    hostMadeKeys.erase(key);
    changed = true;
}

void ModelFileSystem::Put(const ModelKey& key, const ModelFile& file) {
    Erase(key);
    entries[key] = file;
    locations[file.id] = key;
    if (hostMade.count(file.id) != 0) {
        hostMadeKeys.insert(key);
    }
}

void ModelFileSystem::Remove(const std::string& path) {
    ModelKey key;
    if (Resolve(path, key)) {
        Erase(key);
    }
}

std::string ModelFileSystem::Describe(const ModelKey& key) const {
    const auto found = entries.find(key);
    std::string text = "volume " + std::to_string(key.first) + ":" + key.second;
    if (found == entries.end()) {
        return text + " (nothing)";
    }
    const ModelFile& file = found->second;
    if (file.folder) {
        return text + " (folder)";
    }
    text += " #" + std::to_string(file.id) + " \"" + file.content + "\"";
    if (file.durable != file.content) {
        text += " (on the drive: \"" + file.durable + "\")";
    }
    return text + (file.readOnly ? " read-only" : "") + (file.heldOpen ? " held open" : "") +
           (hostMade.count(file.id) != 0 ? " made by the host" : "");
}

bool ModelFileSystem::Begin(const std::string& call, const std::string& first,
                            const std::string& second, unsigned long& failure) {
    if (call != "GetFullPathNameA" && (IsDeviceName(first) || IsDeviceName(second))) {
        faults.push_back(call + " was given the device name " +
                         (IsDeviceName(first) ? first : second));
    }
    middlePartCalls.push_back(NamesMiddlePart(first) || NamesMiddlePart(second));
    if (story != nullptr) {
        story->push_back(std::to_string(calls) + ". " + call + "(" + first +
                         (second.empty() ? "" : ", " + second) + ")");
    }
    if (calls++ != failAt) {
        return false;
    }
    ModelKey key;
    if ((failWith == kFileNotFound || failWith == kPathNotFound) && Resolve(first, key) &&
        entries.count(key) != 0) {
        if (key != vanishing) {
            return false;
        }
        Erase(key);
        vanished();
    }
    failure = failWith;
    return true;
}

template <typename Result> Result ModelFileSystem::End(const std::string&, Result result) {
    if (story != nullptr) {
        story->back() += " -> " + Code(result);
    }
    if (afterCall) {
        afterCall();
    }
    return result;
}

bool ModelFileSystem::ParentExists(const ModelKey& key) const {
    const std::string::size_type slash = key.second.rfind('\\');
    if (slash == std::string::npos) {
        return true;
    }
    const auto parent = entries.find({key.first, key.second.substr(0, slash)});
    return parent != entries.end() && parent->second.folder;
}

void ModelFileSystem::Change(const ModelKey& key, const std::string& what) {
    const auto found = entries.find(key);
    if (found != entries.end() && mayChange && !mayChange(found->second.id)) {
        faults.push_back("the host " + what + " " + Describe(key) + ", a file it did not make");
    }
}

unsigned long ModelFileSystem::Rename(const ModelKey& from, const ModelKey& to, bool replace) {
    Change(from, "renamed");
    if (replace) {
        Change(to, "replaced");
    }
    const ModelFile moved = entries.at(from);
    Erase(from);
    Put(to, moved);
    return 0;
}

// The copy is not written through: a power loss leaves nothing of it.
unsigned long ModelFileSystem::CopyUnderName(const ModelFile& source, const ModelKey& to) {
    ModelFile copy;
    copy.id = nextId++;
    hostMade.insert(copy.id);
    const auto limit = room.find(to.first);
    const bool fits = limit == room.end() || source.content.size() <= limit->second;
    copy.content = fits ? source.content : source.content.substr(0, limit->second);
    Put(to, copy);
    return fits ? 0 : kDiskFull;
}

// Where a move's two paths lead, and the failure of a move whose source or target's folder is
// missing.
unsigned long ModelFileSystem::Locate(const std::string& from, const std::string& to,
                                      ModelKey& source, ModelKey& target) const {
    if (!Resolve(from, source) || !Resolve(to, target)) {
        return kPathNotFound;
    }
    if (entries.count(source) == 0) {
        return kFileNotFound;
    }
    return ParentExists(target) ? 0 : kPathNotFound;
}

unsigned long ModelFileSystem::RenameWithoutCopy(const std::string& from, const std::string& to,
                                                 ExistingTarget existing) {
    if (system == ModelSystem::windows9x) {
        faults.push_back("MoveFileExA was called on Windows 9x, which has none");
        return kCallNotImplemented;
    }
    const bool replace = existing == ExistingTarget::replace;
    const std::string call = replace ? "MoveFileExA replacing" : "MoveFileExA";
    unsigned long failure = 0;
    if (Begin(call, from, to, failure)) {
        return End(call, failure);
    }
    ModelKey source;
    ModelKey target;
    const unsigned long located = Locate(from, to, source, target);
    if (located != 0) {
        return End(call, located);
    }
    if (!OnOneDevice(from, to)) {
        return End(call, kNotSameDevice);
    }
    if (source == target) {
        return End(call, 0UL);
    }
    if (entries.at(source).heldOpen) {
        return End(call, kSharingViolation);
    }
    const auto existingFile = entries.find(target);
    if (existingFile != entries.end()) {
        if (!replace) {
            return End(call, kAlreadyExists);
        }
        const ModelFile& file = existingFile->second;
        if (file.folder || file.readOnly) {
            return End(call, kAccessDenied);
        }
        if (file.heldOpen) {
            return End(call, kSharingViolation);
        }
    }
    return End(call, Rename(source, target, existingFile != entries.end()));
}

unsigned long ModelFileSystem::Move(const std::string& from, const std::string& to) {
    const std::string call = "MoveFileA";
    unsigned long failure = 0;
    if (Begin(call, from, to, failure)) {
        return End(call, failure);
    }
    ModelKey source;
    ModelKey target;
    const unsigned long located = Locate(from, to, source, target);
    if (located != 0) {
        return End(call, located);
    }
    if (source == target) {
        return End(call, 0UL);
    }
    if (entries.count(target) != 0) {
        return End(call, kAlreadyExists);
    }
    if (entries.at(source).heldOpen) {
        return End(call, kSharingViolation);
    }
    if (OnOneDevice(from, to)) {
        return End(call, Rename(source, target, false));
    }
    const unsigned long copied = CopyUnderName(entries.at(source), target);
    if (copied != 0) {
        return End(call, copied);
    }
    Change(source, "deleted");
    Erase(source);
    return End(call, 0UL);
}

unsigned long ModelFileSystem::CreatePart(const std::string& part) {
    const std::string call = "CreateFileA CREATE_NEW";
    unsigned long failure = 0;
    openPart = {-1, ""};
    if (Begin(call, part, "", failure)) {
        return End(call, failure);
    }
    ModelKey key;
    if (!Resolve(part, key) || !ParentExists(key)) {
        return End(call, kPathNotFound);
    }
    if (entries.count(key) != 0) {
        return End(call, kFileExists);
    }
    ModelFile made;
    made.id = nextId++;
    hostMade.insert(made.id);
    Put(key, made);
    openPart = key;
    return End(call, 0UL);
}

// A failure part-way leaves what was written so far, none of it written through.
unsigned long ModelFileSystem::FillPart(const std::string& from) {
    const std::string call = "copy into the part and write it through";
    const ModelKey part = openPart;
    openPart = {-1, ""};
    unsigned long failure = 0;
    const bool injected = Begin(call, from, part.second, failure);
    if (entries.count(part) == 0) {
        return End(call, kInvalidHandle);
    }
    Change(part, "wrote into");
    changed = true;
    ModelFile& written = entries.at(part);
    const ModelFile* source = Find(from);
    if (injected) {
        written.content =
            source == nullptr ? "" : source->content.substr(0, source->content.size() / 2);
        return End(call, failure);
    }
    if (source == nullptr || source->folder) {
        return End(call, source == nullptr ? kFileNotFound : kAccessDenied);
    }
    const auto limit = room.find(part.first);
    if (limit != room.end() && source->content.size() > limit->second) {
        written.content = source->content.substr(0, limit->second);
        return End(call, kDiskFull);
    }
    written.content = source->content;
    written.durable = written.content;
    return End(call, 0UL);
}

unsigned long ModelFileSystem::Delete(const std::string& path) {
    const std::string call = "DeleteFileA";
    unsigned long failure = 0;
    ModelKey key;
    const bool resolved = Resolve(path, key);
    const auto found = resolved ? entries.find(key) : entries.end();
    if (found != entries.end()) {
        deletionsRefused.insert(key);
    }
    if (Begin(call, path, "", failure)) {
        return End(call, failure);
    }
    if (!resolved) {
        return End(call, kPathNotFound);
    }
    if (found == entries.end()) {
        return End(call, ParentExists(key) ? kFileNotFound : kPathNotFound);
    }
    if (found->second.folder || found->second.readOnly) {
        return End(call, kAccessDenied);
    }
    if (found->second.heldOpen) {
        return End(call, kSharingViolation);
    }
    deletionsRefused.erase(key);
    Change(key, "deleted");
    Erase(key);
    return End(call, 0UL);
}

bool ModelFileSystem::Exists(const std::string& path) {
    const std::string call = "GetFileAttributesA";
    unsigned long failure = 0;
    if (Begin(call, path, "", failure)) {
        return End(call, failure != kFileNotFound && failure != kPathNotFound);
    }
    return End(call, Find(path) != nullptr);
}

bool ModelFileSystem::IsReadOnlyOrFolder(const std::string& path) {
    const std::string call = "GetFileAttributesA for read-only or folder";
    unsigned long failure = 0;
    if (Begin(call, path, "", failure)) {
        return End(call, false);
    }
    const ModelFile* file = Find(path);
    return End(call, file != nullptr && (file->readOnly || file->folder));
}

FileIdentity ModelFileSystem::CompareFiles(const std::string& first, const std::string& second) {
    const std::string call = "GetFileInformationByHandle of both";
    unsigned long failure = 0;
    if (Begin(call, first, second, failure)) {
        return End(call, FileIdentity::unknown);
    }
    ModelKey firstKey;
    ModelKey secondKey;
    if (!Resolve(first, firstKey) || !Resolve(second, secondKey)) {
        return End(call, FileIdentity::unknown);
    }
    const ModelFile* firstFile = Find(first);
    const ModelFile* secondFile = Find(second);
    if (firstFile == nullptr || secondFile == nullptr || firstFile->folder || secondFile->folder ||
        !RootOf(Upper(first))->givesIdentity || !RootOf(Upper(second))->givesIdentity) {
        return End(call, FileIdentity::unknown);
    }
    return End(call, firstKey == secondKey ? FileIdentity::same : FileIdentity::different);
}

std::string ModelFileSystem::FullPath(const std::string& path) {
    const std::string call = "GetFullPathNameA";
    unsigned long failure = 0;
    if (Begin(call, path, "", failure)) {
        return End(call, std::string());
    }
    if (IsDeviceName(path)) {
        return End(call, "\\\\.\\" + Upper(path.substr(path.rfind('\\') + 1, 3)));
    }
    return End(call, path);
}

std::string ModelFileSystem::ShortPath(const std::string& path) {
    const std::string call = "GetShortPathNameA";
    unsigned long failure = 0;
    if (Begin(call, path, "", failure)) {
        return End(call, std::string());
    }
    ModelKey key;
    if (!Resolve(path, key) || entries.count(key) == 0) {
        return End(call, std::string());
    }
    const ModelRoot* root = RootOf(Upper(path));
    const auto shortName = longToShort.find(key);
    return End(call,
               root->prefix + (shortName == longToShort.end() ? key.second : shortName->second));
}
