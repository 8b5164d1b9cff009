#include "fakes/FaultyFileSystem.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/posix/Gb18030Codec.h"

namespace scourix {
namespace {

struct NoPackages final : PackageDatabase {
    bool owns(std::string_view) override { return false; }
};

// What the walk holds: the real folder, and the path of the test's it stands for.
struct TrackedFolder final : OpenFolder {
    OpenFolderPtr real;
    std::string path;
};

// In memory where the machine has a place for it: tests make many small trees.
std::string makeRoot() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string root = std::string(base && *base ? base : "/tmp") + "/scourix_fs.XXXXXX";
    if (::mkdtemp(root.data()) == nullptr) {
        throw std::runtime_error("cannot make " + root);
    }
    return root;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

bool isChange(FsOp op) {
    return op == FsOp::Remove || op == FsOp::RemoveIf || op == FsOp::Rename ||
           op == FsOp::ReplaceText || op == FsOp::WriteText;
}

bool under(const std::string& path, const std::string& folder) {
    return path == folder || path.starts_with(folder == "/" ? folder : folder + "/");
}

}  // namespace

FaultyFileSystem::FaultyFileSystem()
    : root_(makeRoot()), real_(root_ + program, std::make_shared<NoPackages>()) {}

FaultyFileSystem::~FaultyFileSystem() {
    ::nftw(
        root_.c_str(),
        [](const char* p, const struct stat* st, int, struct FTW*) {
            return S_ISDIR(st->st_mode) ? (::chmod(p, 0700), ::rmdir(p)) : ::unlink(p);
        },
        16, FTW_DEPTH | FTW_PHYS);
}

std::string FaultyFileSystem::normalize(const std::string& path) const {
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

void FaultyFileSystem::addFolder(const std::string& path, bool readOnly) {
    const std::string p = normalize(path);
    if (p != "/" && !exists(parentOf(p))) {
        addFolder(parentOf(p));
    }
    ::mkdir(real(p).c_str(), 0755);
    if (readOnly) {
        readOnlyFolders_.insert(p);
    }
}

void FaultyFileSystem::addFile(const std::string& path, const std::string& text, bool readOnly) {
    addFolder(parentOf(normalize(path)));
    std::ofstream(real(path), std::ios::binary) << Gb18030Codec::encode(text);
    ::chmod(real(path).c_str(), readOnly ? 0444 : 0644);
}

void FaultyFileSystem::addLink(const std::string& path, const std::string& target) {
    addFolder(parentOf(normalize(path)));
    const std::string to = target.starts_with('/') ? real(target) : target;
    if (::symlink(to.c_str(), real(path).c_str()) != 0) {
        throw std::runtime_error("cannot link " + path);
    }
}

void FaultyFileSystem::addSpecial(const std::string& path) {
    addFolder(parentOf(normalize(path)));
    ::mkfifo(real(path).c_str(), 0644);
}

void FaultyFileSystem::setLength(const std::string& path, std::uint64_t length) {
    if (::truncate(real(path).c_str(), static_cast<off_t>(length)) != 0) {
        throw std::runtime_error("cannot size " + path);
    }
}

void FaultyFileSystem::failOn(FsOp op, const std::string& path, Error error, int times) {
    std::lock_guard lock(mutex_);
    failures_[{op, normalize(path)}] = Failure{std::move(error), times};
}

void FaultyFileSystem::clearFailures() {
    std::lock_guard lock(mutex_);
    failures_.clear();
}

std::optional<FaultyFileSystem::Node> FaultyFileSystem::node(const std::string& path) const {
    struct stat st {};
    if (::lstat(real(path).c_str(), &st) != 0) {
        return std::nullopt;
    }
    const Kind kind = S_ISDIR(st.st_mode)   ? Kind::Folder
                      : S_ISREG(st.st_mode) ? Kind::File
                      : S_ISLNK(st.st_mode) ? Kind::Link
                                            : Kind::Special;
    return Node{kind, kind == Kind::File && (st.st_mode & S_IWUSR) == 0};
}

std::string FaultyFileSystem::content(const std::string& path) const {
    std::ifstream in(real(path), std::ios::binary);
    if (!in) {
        throw std::logic_error("no file " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return Gb18030Codec::decode(bytes.str());
}

int FaultyFileSystem::callCount(FsOp op) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [op](auto& c) { return c.first == op; }));
}

std::optional<Error> FaultyFileSystem::enter(FsOp op, const std::string& path) const {
    const std::string key = normalize(path);
    // The walk reads folders from several threads.
    std::lock_guard lock(mutex_);
    calls.emplace_back(op, path);
    if (isChange(op) && readOnlyFolders_.contains(parentOf(key))) {
        return permissionDenied();
    }
    auto it = failures_.find({op, key});
    if (it == failures_.end() || it->second.times == 0) {
        return std::nullopt;
    }
    if (it->second.times > 0) {
        --it->second.times;
    }
    return it->second.error;
}

Result<std::string> FaultyFileSystem::lookup(const std::string& path, Lookup filter) const {
    if (auto e = enter(FsOp::Lookup, path)) {
        return *e;
    }
    return real_.lookup(real(path), filter);
}

Result<std::string> FaultyFileSystem::lookupListed(const std::string& path,
                                                   Lookup filter) const {
    Result<std::string> found = lookup(path, filter);
    return found && packageFiles.contains(normalize(path)) ? std::string() : found;
}

std::string FaultyFileSystem::realPath(const OpenFolder& folder) const {
    return static_cast<const TrackedFolder&>(folder).path;
}

Result<std::uint64_t> FaultyFileSystem::fileLength(const std::string& path) const {
    if (auto e = enter(FsOp::FileLength, path)) {
        return *e;
    }
    return real_.fileLength(real(path));
}

void FaultyFileSystem::inspect(const std::vector<std::string_view>& paths, bool owners,
                               std::vector<Result<FileFacts>>& out) const {
    std::vector<std::string> reals;
    for (std::string_view p : paths) {
        reals.push_back(real(std::string(p)));
    }
    real_.inspect(std::vector<std::string_view>(reals.begin(), reals.end()), false, out);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string path(paths[i]);
        if (auto e = enter(FsOp::Inspect, path)) {
            out[i] = *e;
        } else if (out[i]) {
            out[i].value().packageOwned = owners && packageFiles.contains(normalize(path));
        }
    }
}

Status FaultyFileSystem::removeFile(const std::string& path) {
    if (auto e = enter(FsOp::Remove, path)) {
        return *e;
    }
    return real_.removeFile(real(path));
}

Result<bool> FaultyFileSystem::removeFileIf(const std::string& path, const WrittenFile& written) {
    if (auto e = enter(FsOp::RemoveIf, path)) {
        return *e;
    }
    return real_.removeFileIf(real(path), written);
}

Status FaultyFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    if (auto e = enter(FsOp::Rename, from)) {
        return *e;
    }
    if (readOnlyFolders_.contains(parentOf(normalize(to)))) {
        return permissionDenied();
    }
    return real_.renameNoReplace(real(from), real(to));
}

Result<bool> FaultyFileSystem::resetAttributes(const std::string& path) {
    if (auto e = enter(FsOp::ResetAttributes, path)) {
        return *e;
    }
    return real_.resetAttributes(real(path));
}

Result<OpenFolderPtr> FaultyFileSystem::track(Result<OpenFolderPtr> opened,
                                              const std::string& path) const {
    if (!opened || !opened.value()) {
        return opened;
    }
    auto folder = std::make_unique<TrackedFolder>();
    folder->real = std::move(opened).value();
    folder->path = path;
    folder->id = folder->real->id;
    folder->virtualFileSystem =
        folder->real->virtualFileSystem ||
        std::any_of(virtual_.begin(), virtual_.end(),
                    [&](const std::string& v) { return under(path, v); });
    return OpenFolderPtr(std::move(folder));
}

Result<OpenFolderPtr> FaultyFileSystem::openFolder(const std::string& path) const {
    if (auto e = enter(FsOp::OpenFolder, path)) {
        return *e;
    }
    return track(real_.openFolder(real(path)), normalize(path));
}

Result<OpenFolderPtr> FaultyFileSystem::openSubfolder(const OpenFolder& parent,
                                                      std::string_view name) const {
    const auto& at = static_cast<const TrackedFolder&>(parent);
    const std::string path = (at.path == "/" ? at.path : at.path + "/") + std::string(name);
    if (auto e = enter(FsOp::OpenFolder, path)) {
        return *e;
    }
    if (auto bind = binds_.find(path); bind != binds_.end()) {
        return track(real_.openFolder(real(bind->second)), path);
    }
    return track(real_.openSubfolder(*at.real, name), path);
}

Result<OpenFolderPtr> FaultyFileSystem::openParent(const OpenFolder& child) const {
    const auto& at = static_cast<const TrackedFolder&>(child);
    return track(real_.openParent(*at.real), parentOf(at.path));
}

Status FaultyFileSystem::readFolder(const OpenFolder& folder, FolderVisitor& visitor) const {
    const auto& at = static_cast<const TrackedFolder&>(folder);
    if (auto e = enter(FsOp::ReadFolder, at.path)) {
        return *e;
    }
    return real_.readFolder(*at.real, visitor);
}

Status FaultyFileSystem::probe(const std::string& path) const {
    if (auto e = enter(FsOp::Probe, path)) {
        return *e;
    }
    return real_.probe(real(path));
}

Result<std::vector<std::string>> FaultyFileSystem::readLines(const std::string& path) const {
    if (auto e = enter(FsOp::ReadLines, path)) {
        return *e;
    }
    return real_.readLines(real(path));
}

Result<std::string> FaultyFileSystem::readText(const std::string& path) const {
    if (auto e = enter(FsOp::ReadText, path)) {
        return *e;
    }
    return real_.readText(real(path));
}

Result<WrittenFilePtr> FaultyFileSystem::writeText(const std::string& path,
                                                   const std::string& text) {
    if (auto e = enter(FsOp::WriteText, path)) {
        return *e;
    }
    return real_.writeText(real(path), text);
}

Status FaultyFileSystem::replaceText(const std::string& path, const std::string& text) {
    if (auto e = enter(FsOp::ReplaceText, path)) {
        return *e;
    }
    return real_.replaceText(real(path), text);
}

}  // namespace scourix
