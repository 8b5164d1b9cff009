#include "fakes/FakeFileSystem.h"

#include <cerrno>
#include <stdexcept>

namespace scourix {
namespace {

bool isHidden(const std::string& name) {
    return !name.empty() && name[0] == '.';
}

Error isAFolder() {
    return {EISDIR, "Is a directory"};
}

Error notAFolder() {
    return {ENOTDIR, "Not a directory"};
}

}  // namespace

FakeFileSystem::FakeFileSystem() {
    Node root;
    root.kind = Kind::Folder;
    root.inode = 1;
    nodes_["/"] = root;
}

Error FakeFileSystem::noSuchFile() {
    return {ENOENT, "No such file or directory"};
}
Error FakeFileSystem::permissionDenied() {
    return {EACCES, "Permission denied"};
}
Error FakeFileSystem::fileExists() {
    return {EEXIST, "File exists"};
}

std::string FakeFileSystem::normalize(const std::string& path) const {
    std::string abs = !path.empty() && path[0] == '/' ? path : current + "/" + path;
    std::string out;
    for (char c : abs) {
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out += c;
    }
    if (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

std::string FakeFileSystem::parentOf(const std::string& normalizedPath) {
    const std::size_t slash = normalizedPath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : normalizedPath.substr(0, slash);
}

std::string FakeFileSystem::nameOf(const std::string& normalizedPath) {
    return normalizedPath.substr(normalizedPath.rfind('/') + 1);
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
        n.inode = nextInode_++;
        if (p != "/") {
            const Node& parent = nodes_.at(parentOf(p));
            n.device = parent.device;
            n.virtualFileSystem = parent.virtualFileSystem;
        }
    }
    n.kind = kind;
    return n;
}

void FakeFileSystem::addFolder(const std::string& path, bool readOnly) {
    make(path, Kind::Folder).readOnly = readOnly;
}

void FakeFileSystem::addFile(const std::string& path, std::string content, bool readOnly) {
    Node& n = make(path, Kind::File);
    n.content = std::move(content);
    n.readOnly = readOnly;
}

void FakeFileSystem::addLink(const std::string& path, const std::string& target) {
    make(path, Kind::Link).target = target;
}

void FakeFileSystem::addSpecial(const std::string& path) {
    make(path, Kind::Special);
}

void FakeFileSystem::setLength(const std::string& path, std::uint64_t length) {
    nodes_.at(normalize(path)).length = length;
}

void FakeFileSystem::setReadOnly(const std::string& path, bool on) {
    nodes_.at(normalize(path)).readOnly = on;
}

void FakeFileSystem::markVolume(const std::string& path, std::uint64_t device, bool virtualFs) {
    const std::string p = normalize(path);
    const std::string prefix = p == "/" ? "/" : p + "/";
    for (auto& [key, n] : nodes_) {
        if (key == p || key.starts_with(prefix)) {
            n.device = device;
            n.virtualFileSystem = virtualFs;
        }
    }
}

void FakeFileSystem::failOn(FsOp op, const std::string& path, Error error, int times) {
    failures_[{op, normalize(path)}] = Failure{std::move(error), times};
}

bool FakeFileSystem::exists(const std::string& path) const {
    return find(path) != nullptr;
}

const FakeFileSystem::Node* FakeFileSystem::node(const std::string& path) const {
    return find(path);
}

const std::string& FakeFileSystem::content(const std::string& path) const {
    const Node* n = find(path);
    if (n == nullptr || n->kind != Kind::File) {
        throw std::logic_error("FakeFileSystem: no file " + path);
    }
    return n->content;
}

int FakeFileSystem::callCount(FsOp op) const {
    int count = 0;
    for (const auto& call : calls) {
        count += call.first == op ? 1 : 0;
    }
    return count;
}

std::optional<Error> FakeFileSystem::enter(FsOp op, const std::string& path) const {
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

FakeFileSystem::Node* FakeFileSystem::find(const std::string& path) {
    auto it = nodes_.find(normalize(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node* FakeFileSystem::find(const std::string& path) const {
    auto it = nodes_.find(normalize(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

std::string FakeFileSystem::resolveKey(const std::string& path) const {
    std::string key = normalize(path);
    for (int hops = 0; hops < 8; ++hops) {
        auto it = nodes_.find(key);
        if (it == nodes_.end() || it->second.kind != Kind::Link) {
            return key;
        }
        key = normalize(it->second.target);
    }
    return {};  // a loop of links leads nowhere
}

const FakeFileSystem::Node* FakeFileSystem::resolve(const std::string& path) const {
    const std::string key = resolveKey(path);
    return key.empty() ? nullptr : find(key);
}

std::optional<Error> FakeFileSystem::canChangeEntryIn(const std::string& normalizedPath) const {
    const Node* parent = find(parentOf(normalizedPath));
    if (parent == nullptr) {
        return noSuchFile();
    }
    if (parent->kind != Kind::Folder) {
        return notAFolder();
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
    const std::string p = normalize(path);
    const Node* n = find(p);
    if (n == nullptr || n->kind == Kind::Folder) {
        return std::string();
    }
    const std::string name = nameOf(p);
    const bool hidden = isHidden(name);
    const bool system = n->kind == Kind::Special;
    const bool admitted = filter == Lookup::WithHiddenAndSystem ||
                          (filter == Lookup::WithHidden && !system) ||
                          (filter == Lookup::Ordinary && !system && !hidden);
    return admitted ? name : std::string();
}

Result<FolderListing> FakeFileSystem::listFolder(const std::string& path) const {
    if (auto e = enter(FsOp::ListFolder, path)) {
        return *e;
    }
    const std::string p = normalize(path);
    const Node* n = resolve(p);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind != Kind::Folder) {
        return notAFolder();
    }
    FolderListing listing;
    listing.path = path;  // as the caller gave it, like the real lister
    listing.device = n->device;
    listing.inode = n->inode;
    listing.virtualFileSystem = n->virtualFileSystem;
    // A folder reached through a link lists the target's entries under the link's path.
    const std::string real = resolveKey(p);
    const std::string prefix = real == "/" ? "/" : real + "/";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
        const std::string& key = it->first;
        if (!key.starts_with(prefix)) {
            break;
        }
        if (key == prefix || key.find('/', prefix.size()) != std::string::npos) {
            continue;
        }
        FolderEntry entry;
        entry.name = key.substr(prefix.size());
        entry.isFolder = it->second.kind == Kind::Folder;
        entry.hidden = isHidden(entry.name);
        entry.system = it->second.kind == Kind::Special;
        listing.entries.push_back(std::move(entry));
    }
    return listing;
}

Result<std::uint64_t> FakeFileSystem::fileLength(const std::string& path) const {
    if (auto e = enter(FsOp::FileLength, path)) {
        return *e;
    }
    const Node* n = resolve(path);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    return n->length ? *n->length : static_cast<std::uint64_t>(n->content.size());
}

Status FakeFileSystem::removeFile(const std::string& path) {
    if (auto e = enter(FsOp::Remove, path)) {
        return *e;
    }
    const std::string p = normalize(path);
    const Node* n = find(p);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    if (auto e = canChangeEntryIn(p)) {
        return *e;
    }
    if (n->readOnly) {
        return permissionDenied();
    }
    nodes_.erase(p);
    return Status::success();
}

Status FakeFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    if (auto e = enter(FsOp::Rename, from)) {
        return *e;
    }
    const std::string src = normalize(from);
    const std::string dst = normalize(to);
    const Node* n = find(src);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    if (find(dst) != nullptr) {
        return fileExists();
    }
    if (auto e = canChangeEntryIn(src)) {
        return *e;
    }
    if (auto e = canChangeEntryIn(dst)) {
        return *e;
    }
    Node moved = *n;
    nodes_.erase(src);
    nodes_[dst] = std::move(moved);
    return Status::success();
}

Status FakeFileSystem::resetAttributes(const std::string& path) {
    if (auto e = enter(FsOp::ResetAttributes, path)) {
        return *e;
    }
    Node* n = find(path);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    n->readOnly = false;
    return Status::success();
}

Status FakeFileSystem::probe(const std::string& path) const {
    if (auto e = enter(FsOp::Probe, path)) {
        return *e;
    }
    const Node* n = resolve(path);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind != Kind::Folder) {
        return notAFolder();
    }
    return Status::success();
}

Result<std::vector<std::string>> FakeFileSystem::readLines(const std::string& path) const {
    if (auto e = enter(FsOp::ReadLines, path)) {
        return *e;
    }
    const Node* n = resolve(path);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    // A line ends with CR LF, LF or CR alone; a final line end does not start another line.
    std::vector<std::string> lines;
    const std::string& text = n->content;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

Result<std::string> FakeFileSystem::readText(const std::string& path) const {
    if (auto e = enter(FsOp::ReadText, path)) {
        return *e;
    }
    const Node* n = resolve(path);
    if (n == nullptr) {
        return noSuchFile();
    }
    if (n->kind == Kind::Folder) {
        return isAFolder();
    }
    return n->content;
}

Status FakeFileSystem::store(const std::string& path, const std::string& text) {
    const std::string p = normalize(path);
    if (auto e = canChangeEntryIn(p)) {
        // An existing writable file may still be rewritten in a read-only folder.
        const Node* existing = find(p);
        if (existing == nullptr || e->code != EACCES) {
            return *e;
        }
    }
    Node* n = find(p);
    if (n != nullptr && n->kind == Kind::Folder) {
        return isAFolder();
    }
    if (n != nullptr && n->readOnly) {
        return permissionDenied();
    }
    Node& file = make(p, Kind::File);
    file.content = text;
    file.length.reset();
    return Status::success();
}

Status FakeFileSystem::writeText(const std::string& path, const std::string& text) {
    if (auto e = enter(FsOp::WriteText, path)) {
        return *e;
    }
    return store(path, text);
}

Status FakeFileSystem::replaceText(const std::string& path, const std::string& text) {
    if (auto e = enter(FsOp::ReplaceText, path)) {
        return *e;
    }
    // The new text is written beside the file and renamed over it: the folder must admit a
    // new entry even when the file itself exists.
    const std::string p = normalize(path);
    if (auto e = canChangeEntryIn(p)) {
        return *e;
    }
    const Node* n = find(p);
    if (n != nullptr && n->kind == Kind::Folder) {
        return isAFolder();
    }
    Node& file = make(p, Kind::File);
    file.content = text;
    file.length.reset();
    file.readOnly = false;
    return Status::success();
}

}  // namespace scourix
