#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <stdexcept>

namespace scourix {
namespace {

bool isHidden(const std::string& name) {
    return !name.empty() && name[0] == '.';
}

std::string parentOf(const std::string& key) {
    const std::size_t slash = key.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : key.substr(0, slash);
}

std::string nameOf(const std::string& key) {
    return key.substr(key.rfind('/') + 1);
}

}  // namespace

FakeFileSystem::FakeFileSystem() {
    Node& root = nodes_["/"];
    root.kind = Kind::Folder;
    root.inode = 1;
}

std::string FakeFileSystem::normalize(const std::string& path) const {
    const std::string abs = !path.empty() && path[0] == '/' ? path : current + "/" + path;
    std::string out;
    for (char c : abs) {
        if (c != '/' || out.empty() || out.back() != '/') {
            out += c;
        }
    }
    if (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

FakeFileSystem::Node& FakeFileSystem::make(const std::string& path, Kind kind) {
    const std::string p = normalize(path);
    if (p != "/") {
        const std::string parent = parentOf(p);
        if (!nodes_.count(parent)) {
            make(parent, Kind::Folder);
        }
        if (nodes_.at(parent).kind != Kind::Folder) {
            throw std::logic_error("FakeFileSystem: parent of " + p + " is not a folder");
        }
    }
    Node& n = nodes_[p];
    if (n.inode == 0) {
        const Node& parent = nodes_.at(parentOf(p));
        n.inode = nextInode_++;
        n.device = parent.device;
        n.virtualFileSystem = parent.virtualFileSystem;
    }
    n.kind = kind;
    return n;
}

void FakeFileSystem::addFile(const std::string& path, std::string content, bool readOnly) {
    Node& n = make(path, Kind::File);
    n.content = std::move(content);
    n.readOnly = readOnly;
}

void FakeFileSystem::markVolume(const std::string& path, std::uint64_t device, bool virtualFs) {
    const std::string p = normalize(path);
    for (auto& [key, n] : nodes_) {
        if (key == p || key.starts_with(p == "/" ? p : p + "/")) {
            n.device = device;
            n.virtualFileSystem = virtualFs;
        }
    }
}

const FakeFileSystem::Node* FakeFileSystem::node(const std::string& path) const {
    auto it = nodes_.find(normalize(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

const std::string& FakeFileSystem::content(const std::string& path) const {
    const Node* n = node(path);
    if (n == nullptr || n->kind != Kind::File) {
        throw std::logic_error("FakeFileSystem: no file " + path);
    }
    return n->content;
}

std::optional<Error> FakeFileSystem::enter(FsOp op, const std::string& path) const {
    // The walk reads folders from several threads.
    std::lock_guard lock(mutex_);
    calls.emplace_back(op, path);
    auto it = failures_.find({op, normalize(path)});
    if (it == failures_.end() || it->second.times == 0) {
        return std::nullopt;
    }
    if (it->second.times > 0) {
        --it->second.times;
    }
    return it->second.error;
}

Result<std::string> FakeFileSystem::reach(FsOp op, const std::string& path, bool follow,
                                          bool wantFolder) const {
    if (auto e = enter(op, path)) {
        return *e;
    }
    std::string key = normalize(path);
    for (int hops = 0; follow && hops < 8 && nodes_.count(key); ++hops) {
        const Node& n = nodes_.at(key);
        if (n.kind != Kind::Link) {
            break;
        }
        key = hops == 7 ? "" : normalize(n.target);  // a loop of links leads nowhere
    }
    const Node* n = node(key);
    if (key.empty() || n == nullptr) {
        return noSuchFile();
    }
    if (wantFolder && n->kind != Kind::Folder) {
        return Error{ENOTDIR, "Not a directory"};
    }
    if (!wantFolder && n->kind == Kind::Folder) {
        return Error{EISDIR, "Is a directory"};
    }
    return key;
}

std::optional<Error> FakeFileSystem::canChangeEntryIn(const std::string& key) const {
    const Node* parent = node(parentOf(key));
    if (parent == nullptr) {
        return noSuchFile();
    }
    if (parent->kind != Kind::Folder) {
        return Error{ENOTDIR, "Not a directory"};
    }
    if (parent->readOnly) {
        return permissionDenied();
    }
    return std::nullopt;
}

Result<std::string> FakeFileSystem::lookup(const std::string& path, Lookup filter) const {
    if (auto e = enter(FsOp::Lookup, path)) {
        return *e;
    }
    const Node* n = node(path);
    if (n == nullptr || n->kind == Kind::Folder) {
        return std::string();
    }
    const std::string name = nameOf(normalize(path));
    const bool system = n->kind == Kind::Special;
    const bool admitted = filter == Lookup::WithHiddenAndSystem ||
                          (!system && (filter == Lookup::WithHidden || !isHidden(name)));
    return admitted ? name : std::string();
}

namespace {

// What the walk holds: the folder's key in the tree, and the path it was reached by.
struct FakeFolder final : OpenFolder {
    std::string key;
    std::string shown;
};

}  // namespace

Result<OpenFolderPtr> FakeFileSystem::openAt(const std::string& key, const std::string& shown,
                                             bool log) const {
    if (auto e = log ? enter(FsOp::OpenFolder, shown) : std::nullopt) {
        return *e;
    }
    auto bind = binds_.find(key);
    const std::string& real = bind == binds_.end() ? key : bind->second;
    const Node* n = node(real);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind != Kind::Folder) {
        return OpenFolderPtr();
    }
    auto folder = std::make_unique<FakeFolder>();
    folder->id = {n->device, n->inode};
    folder->virtualFileSystem = n->virtualFileSystem;
    folder->key = real;
    folder->shown = shown;
    return OpenFolderPtr(std::move(folder));
}

std::string FakeFileSystem::realPath(const OpenFolder& folder) const {
    return static_cast<const FakeFolder&>(folder).key;
}

Result<OpenFolderPtr> FakeFileSystem::openFolder(const std::string& path) const {
    // A location may be a link to a folder: followed.
    const auto key = reach(FsOp::OpenFolder, path, true, true);
    if (!key) {
        return key.error();
    }
    return openAt(key.value(), normalize(path), false);
}

Result<OpenFolderPtr> FakeFileSystem::openSubfolder(const OpenFolder& parent,
                                                    std::string_view name) const {
    const auto& folder = static_cast<const FakeFolder&>(parent);
    const std::string prefix = folder.key == "/" ? "/" : folder.key + "/";
    const std::string shown = folder.shown == "/" ? "/" : folder.shown + "/";
    return openAt(prefix + std::string(name), shown + std::string(name));
}

Result<OpenFolderPtr> FakeFileSystem::openParent(const OpenFolder& child) const {
    const auto& folder = static_cast<const FakeFolder&>(child);
    return openAt(parentOf(folder.key), parentOf(folder.shown));
}

Status FakeFileSystem::readFolder(const OpenFolder& opened, FolderVisitor& visitor) const {
    const auto& folder = static_cast<const FakeFolder&>(opened);
    if (auto e = enter(FsOp::ReadFolder, folder.shown)) {
        return *e;
    }
    const std::string prefix = folder.key == "/" ? "/" : folder.key + "/";
    for (auto it = nodes_.upper_bound(prefix); it != nodes_.end(); ++it) {
        if (!it->first.starts_with(prefix)) {
            break;
        }
        const std::string name = it->first.substr(prefix.size());
        if (name.find('/') == std::string::npos) {
            static constexpr EntryKind kKinds[] = {EntryKind::Folder, EntryKind::File,
                                                   EntryKind::Link, EntryKind::Special};
            visitor.entry(name, kKinds[static_cast<int>(it->second.kind)]);
        }
    }
    return Status::success();
}

namespace {

struct FakeWrittenFile final : WrittenFile {
    std::uint64_t inode = 0;
};

}  // namespace

Result<bool> FakeFileSystem::removeFileIf(const std::string& path, const WrittenFile& written) {
    if (auto e = enter(FsOp::RemoveIf, path)) {
        return *e;
    }
    auto it = nodes_.find(normalize(path));
    if (it == nodes_.end() || it->second.kind != Kind::File ||
        it->second.inode != static_cast<const FakeWrittenFile&>(written).inode) {
        return false;
    }
    nodes_.erase(it);
    return true;
}

Result<WrittenFilePtr> FakeFileSystem::writeText(const std::string& path, const std::string& text) {
    const Status stored = store(FsOp::WriteText, path, text);
    if (!stored) {
        return stored.error();
    }
    auto written = std::make_shared<FakeWrittenFile>();
    written->inode = nodes_.at(normalize(path)).inode;
    return WrittenFilePtr(std::move(written));
}

void FakeFileSystem::inspect(const std::vector<std::string_view>& paths, bool owners,
                             std::vector<Result<FileFacts>>& out) const {
    out.clear();
    for (std::string_view view : paths) {
        const std::string path(view);
        if (auto e = enter(FsOp::Inspect, path)) {
            out.emplace_back(*e);
            continue;
        }
        const Node* n = node(path);
        if (n == nullptr) {
            out.emplace_back(noSuchFile());
            continue;
        }
        static constexpr EntryKind kKinds[] = {EntryKind::Folder, EntryKind::File, EntryKind::Link,
                                               EntryKind::Special};
        out.emplace_back(FileFacts{kKinds[static_cast<int>(n->kind)],
                                   n->length.value_or(n->content.size()),
                                   owners && packageFiles.contains(normalize(path))});
    }
}

Result<std::uint64_t> FakeFileSystem::fileLength(const std::string& path) const {
    const auto key = reach(FsOp::FileLength, path, true, false);
    const Node* n = key ? node(key.value()) : nullptr;
    return n ? Result<std::uint64_t>(n->length.value_or(n->content.size())) : key.error();
}

Status FakeFileSystem::removeFile(const std::string& path) {
    const auto key = reach(FsOp::Remove, path, false, false);
    if (!key) {
        return key.error();
    }
    if (auto e = canChangeEntryIn(key.value())) {
        return *e;
    }
    if (nodes_.at(key.value()).readOnly) {
        return permissionDenied();
    }
    nodes_.erase(key.value());
    return Status::success();
}

Status FakeFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    const auto key = reach(FsOp::Rename, from, false, false);
    if (!key) {
        return key.error();
    }
    const std::string dst = normalize(to);
    if (node(dst) != nullptr) {
        return Error{EEXIST, "File exists"};
    }
    auto e = canChangeEntryIn(key.value());
    if (e || (e = canChangeEntryIn(dst))) {
        return *e;
    }
    nodes_[dst] = nodes_.at(key.value());
    nodes_.erase(key.value());
    return Status::success();
}

Result<bool> FakeFileSystem::resetAttributes(const std::string& path) {
    if (auto e = enter(FsOp::ResetAttributes, path)) {
        return *e;
    }
    // Only an ordinary file is opened; anything else is passed over unchanged.
    auto it = nodes_.find(normalize(path));
    if (it == nodes_.end() || it->second.kind != Kind::File) {
        return false;
    }
    it->second.readOnly = false;
    return true;
}

Status FakeFileSystem::probe(const std::string& path) const {
    const auto key = reach(FsOp::Probe, path, true, true);
    return key ? Status::success() : Status(key.error());
}

Result<std::vector<std::string>> FakeFileSystem::readLines(const std::string& path) const {
    const auto key = reach(FsOp::ReadLines, path, true, false);
    if (!key) {
        return key.error();
    }
    // A line ends with CR LF, LF or CR alone; a final line end does not start another line.
    std::vector<std::string> lines;
    const std::string& t = nodes_.at(key.value()).content;
    for (std::size_t start = 0; start < t.size();) {
        const std::size_t end = std::min(t.find_first_of("\r\n", start), t.size());
        lines.push_back(t.substr(start, end - start));
        start = end + (t.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

Result<std::string> FakeFileSystem::readText(const std::string& path) const {
    const auto key = reach(FsOp::ReadText, path, true, false);
    return key ? Result<std::string>(nodes_.at(key.value()).content) : key.error();
}

Status FakeFileSystem::store(FsOp op, const std::string& path, const std::string& text) {
    if (auto e = enter(op, path)) {
        return *e;
    }
    const std::string p = normalize(path);
    const Node* n = node(p);
    // A replacement is written beside the file and renamed over it, so the folder must
    // admit a new entry; a plain write may still rewrite a file in a read-only folder.
    if (auto e = canChangeEntryIn(p); e && !(op == FsOp::WriteText && n && e->code == EACCES)) {
        return *e;
    }
    if (n != nullptr && n->kind == Kind::Folder) {
        return Error{EISDIR, "Is a directory"};
    }
    if (n != nullptr && n->readOnly && op == FsOp::WriteText) {
        return permissionDenied();
    }
    Node& file = make(p, Kind::File);
    file.content = text;
    file.length.reset();
    file.readOnly = false;
    return Status::success();
}

}  // namespace scourix
