#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/posix/ConfigHome.h"
#include "platform/posix/DpkgDatabase.h"
#include "platform/posix/FileBytes.h"
#include "platform/posix/Gb18030Codec.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFolder.h"
#include "platform/posix/PosixOpenFiles.h"
#include "platform/posix/PosixWrittenFile.h"
#include "platform/posix/RegularFileCheck.h"
#include "platform/posix/SystemError.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace scourix {

namespace {

// Calls take(line) for the lines of text, no more than limit + 1 of them, and says how many.
// Lines end at CR LF, CR or LF; a final line end makes no extra empty line.
template <class Take>
std::size_t forEachLine(std::string_view text, std::size_t limit, Take take) {
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < text.size() && lines <= limit) {
        ++lines;
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            take(text.substr(start));
            break;
        }
        take(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

// The real path of the folder open as fd, as the package database spells paths: whatever
// way the scan or the entry's text took to it, links and all. "" when there is none.
std::string realPathOf(int fd) {
    return RegularFileCheck::pathOf(fd);
}

// The entry at path without following it: 0, or the errno of the failure.
int statEntry(const Result<ReachedEntry>& at, struct stat& st) {
    if (!at) {
        return at.error().code;
    }
    return ::fstatat(at.value().dir(), at.value().name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
               ? 0
               : errno;
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::string programFolder,
                                 std::shared_ptr<PackageDatabase> packages,
                                 std::shared_ptr<const LinkTrust> trust)
    : programFolder_(std::move(programFolder)),
      packages_(std::move(packages)),
      resolver_(trust ? std::move(trust) : std::make_shared<LinkTrust>()) {
    if (!packages_) {
        packages_ = std::make_shared<DpkgDatabase>();
    }
    // A write beyond the file-size limit then fails as "File too large", which the
    // procedures report and clean up after, instead of ending the program half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    if (programFolder_.empty()) {
        std::string exe(4096, '\0');
        const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
        if (n > 0 && static_cast<std::size_t>(n) < exe.size()) {
            exe.resize(static_cast<std::size_t>(n));
            programFolder_ = exe.substr(0, exe.rfind('/'));
        } else {
            programFolder_ = currentFolder();
        }
    }
    while (programFolder_.size() > 1 && programFolder_.back() == '/') {
        programFolder_.pop_back();
    }
    if (programFolder_.empty()) {
        programFolder_.assign(1, '/');  // GCC 12 misreads the plain assignment
    }
}

Result<std::string> PosixFileSystem::lookup(const std::string& path, Lookup filter) const {
    return lookupIn(resolver_.reach(path, false), filter);
}

Result<std::string> PosixFileSystem::lookupListed(const std::string& path, Lookup filter) const {
    const Result<ReachedEntry> at = resolver_.reach(path, false);
    Result<std::string> found = lookupIn(at, filter);
    if (!found || found.value().empty()) {
        return found;
    }
    return owned(at.value().folderRealPath(), found.value()) ? std::string() : found;
}

std::string PosixFileSystem::realPath(const OpenFolder& folder) const {
    return realPathOf(static_cast<const PosixFolder&>(folder).fd());
}

bool PosixFileSystem::owned(const std::string& folder, std::string_view name) const {
    // Not a path in this file system's tree (deleted meanwhile, or unknown): no package's.
    if (folder.empty() || folder.front() != '/') {
        return false;
    }
    std::string path = folder;
    if (path.back() != '/') {
        path += '/';
    }
    path += name;
    return packages_->owns(path) || compiledFromOwned(path);
}

bool PosixFileSystem::compiledFromOwned(std::string_view path) const {
    // A package's install scripts compile its Python sources after unpacking: the bytecode
    // is in no package list, but belongs to the package all the same, and nobody but root
    // could write it back.
    constexpr std::string_view kDistPackages = "/usr/lib/python3/dist-packages/";
    constexpr std::string_view kCache = "/__pycache__/";
    if (!path.starts_with(kDistPackages) || !path.ends_with(".pyc")) {
        return false;
    }
    const std::size_t slash = path.rfind('/');
    if (slash < kCache.size() - 1 ||
        path.substr(slash + 1 - kCache.size(), kCache.size()) != kCache) {
        return false;
    }
    // "name.cpython-311.pyc" and "name.cpython-311.opt-1.pyc" are compiled from "name.py".
    const std::string_view file = path.substr(slash + 1);
    const std::size_t dot = file.find('.');
    if (dot == 0 || dot == file.size() - 4) {
        return false;
    }
    std::string source(path.substr(0, slash + 1 - kCache.size() + 1));
    source.append(file.substr(0, dot));
    source += ".py";
    return packages_->owns(source);
}

Result<std::string> PosixFileSystem::lookupIn(const Result<ReachedEntry>& at, Lookup filter) const {
    struct stat st {};
    if (const int error = statEntry(at, st); error != 0) {
        if (error == ENOENT || error == ENOTDIR) {
            return std::string();
        }
        return systemError(error);
    }
    if (S_ISDIR(st.st_mode)) {
        return std::string();
    }
    const std::string& name = at.value().name;
    const bool hidden = name.starts_with('.');
    const bool system = !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode);
    switch (filter) {
        case Lookup::Ordinary:
            return (hidden || system) ? std::string() : name;
        case Lookup::WithHidden:
            return system ? std::string() : name;
        case Lookup::WithHiddenAndSystem:
            break;
    }
    return name;
}

Result<std::uint64_t> PosixFileSystem::fileLength(const std::string& path) const {
    struct stat st {};
    if (const int error = statEntry(resolver_.reach(path, false), st); error != 0) {
        return systemError(error);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

Result<CheckedFile> PosixFileSystem::checkedRegularFile(const std::string& path,
                                                        std::size_t headBytes) const {
    const Result<std::string> listed = lookupListed(path, Lookup::WithHiddenAndSystem);
    if (!listed || listed.value().empty()) {
        return listed ? Result<CheckedFile>(CheckedFile{}) : listed.error();
    }
    Result<CheckedFile> checked = RegularFileCheck::check(resolver_, path, headBytes);
    // A link may lead to a package's file: that one is the system's too.
    if (checked && !checked.value().realPath.empty() && packages_->owns(checked.value().realPath)) {
        return CheckedFile{};
    }
    return checked;
}

void PosixFileSystem::inspect(const std::vector<std::string_view>& paths, bool owners,
                              std::vector<Result<FileFacts>>& out) const {
    // A resolver of this call's own, so that calls on several threads do not meet.
    PathResolver resolver(resolver_.trust());
    resolver.hold(true);
    out.clear();
    out.reserve(paths.size());
    // A file that matched two patterns comes twice among its folder's entries.
    std::unordered_map<std::string_view, std::size_t> inFolder;
    const ReachedFolder* folder = nullptr;
    for (std::string_view path : paths) {
        const Result<ReachedEntry> at = resolver.reach(std::string(path), false);
        if (!at) {
            out.emplace_back(at.error());
            continue;
        }
        const ReachedEntry& entry = at.value();
        if (entry.folder.get() != folder) {
            folder = entry.folder.get();
            inFolder.clear();
        }
        if (auto seen = inFolder.find(path); seen != inFolder.end()) {
            out.push_back(out[seen->second]);
            continue;
        }
        inFolder.emplace(path, out.size());
        struct stat st {};
        if (::fstatat(entry.dir(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            out.emplace_back(lastSystemError());
            continue;
        }
        FileFacts facts;
        facts.kind = S_ISDIR(st.st_mode)   ? EntryKind::Folder
                     : S_ISREG(st.st_mode) ? EntryKind::File
                     : S_ISLNK(st.st_mode) ? EntryKind::Link
                                           : EntryKind::Special;
        facts.length = static_cast<std::uint64_t>(st.st_size);
        facts.mtime = st.st_mtim.tv_sec;
        facts.ctime = st.st_ctim.tv_sec;
        facts.device = st.st_dev;
        facts.packageOwned =
            owners && facts.kind != EntryKind::Folder && owned(entry.folderRealPath(), entry.name);
        out.emplace_back(facts);
    }
    resolver.hold(false);
}

Status PosixFileSystem::removeFile(const std::string& path) {
    const Result<ReachedEntry> at = resolver_.reach(path, false);
    struct stat st {};
    if (const int error = statEntry(at, st); error != 0) {
        return systemError(error);
    }
    if (S_ISDIR(st.st_mode)) {
        return systemError(EISDIR);
    }
    // Linux would unlink a read-only file; refusing keeps "read-only" meaningful, so the
    // user is asked before such files are made deletable.
    if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
        return systemError(EACCES);
    }
    if (refused(st)) {
        return systemError(EBUSY);
    }
    if (::unlinkat(at.value().dir(), at.value().name.c_str(), 0) != 0) {
        return lastSystemError();
    }
    return {};
}

Result<bool> PosixFileSystem::removeFileIf(const std::string& path, const WrittenFile& written) {
    struct stat held {};
    if (::fstat(static_cast<const PosixWrittenFile&>(written).fd.get(), &held) != 0) {
        return lastSystemError();
    }
    const Result<ReachedEntry> at = resolver_.reach(path, false);
    struct stat st {};
    if (const int error = statEntry(at, st); error != 0) {
        if (error == ENOENT || error == ENOTDIR) {
            return false;
        }
        return systemError(error);
    }
    if (!S_ISREG(st.st_mode) || st.st_dev != held.st_dev || st.st_ino != held.st_ino) {
        return false;
    }
    if (::unlinkat(at.value().dir(), at.value().name.c_str(), 0) != 0) {
        return lastSystemError();
    }
    return true;
}

Status PosixFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    const Result<ReachedEntry> src = resolver_.reach(from, false);
    if (!src) {
        return src.error();
    }
    const Result<ReachedEntry> dst = resolver_.reach(to, false);
    if (!dst) {
        return dst.error();
    }
    const int srcDir = src.value().dir();
    const int dstDir = dst.value().dir();
    const char* srcName = src.value().name.c_str();
    const char* dstName = dst.value().name.c_str();
    if (refused_) {
        struct stat st {};
        if (::fstatat(srcDir, srcName, &st, AT_SYMLINK_NOFOLLOW) == 0 && refused(st)) {
            return systemError(EBUSY);
        }
    }
    if (::syscall(SYS_renameat2, srcDir, srcName, dstDir, dstName, RENAME_NOREPLACE) == 0) {
        return {};
    }
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) {
        return systemError(error);
    }
    // The file system refuses the flag: a link fails on an existing name just the same.
    // Never a plain rename, which would replace the target.
    if (::linkat(srcDir, srcName, dstDir, dstName, 0) != 0) {
        return lastSystemError();
    }
    if (::unlinkat(srcDir, srcName, 0) != 0) {
        Error failure = lastSystemError();
        ::unlinkat(dstDir, dstName, 0);
        return failure;
    }
    return {};
}

Result<bool> PosixFileSystem::resetAttributes(const std::string& path) {
    // A file that cannot be opened for reading is left as it is, like one that is gone.
    const Result<ReachedEntry> at = resolver_.reach(path, false);
    struct stat seen {};
    if (statEntry(at, seen) != 0) {
        return false;
    }
    // Links, devices, FIFOs and sockets have no read-only state of their own; opening a
    // device can act on it, so they are left alone unopened.
    if (!S_ISREG(seen.st_mode)) {
        return false;
    }
    const int fd = ::openat(at.value().dir(), at.value().name.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    Result<bool> result = true;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result = lastSystemError();
    } else if (st.st_dev != seen.st_dev || st.st_ino != seen.st_ino || !S_ISREG(st.st_mode)) {
        result = false;  // swapped since it was looked at
    } else if ((st.st_mode & S_IWUSR) == 0 && ::fchmod(fd, (st.st_mode & 07777) | S_IWUSR) != 0) {
        result = lastSystemError();
    }
    ::close(fd);
    return result;
}

Result<OpenFolderPtr> PosixFileSystem::openFolder(const std::string& path) const {
    Result<UniqueFd> folder = resolver_.reachFolder(path);
    if (!folder) {
        return folder.error();
    }
    Result<OpenFolderPtr> opened = PosixFolder::open(folder.value().get(), ".", nullptr, virtuals_);
    if (opened && !opened.value()) {
        return systemError(ENOTDIR);
    }
    return opened;
}

Result<OpenFolderPtr> PosixFileSystem::openSubfolder(const OpenFolder& parent,
                                                     std::string_view name) const {
    // A name of a folder entry is one component; anything else would leave the folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos) {
        return systemError(EINVAL);
    }
    const auto& folder = static_cast<const PosixFolder&>(parent);
    return PosixFolder::open(folder.fd(), std::string(name).c_str(), &parent, virtuals_);
}

Result<OpenFolderPtr> PosixFileSystem::openParent(const OpenFolder& child) const {
    const auto& folder = static_cast<const PosixFolder&>(child);
    return PosixFolder::open(folder.fd(), "..", nullptr, virtuals_);
}

Status PosixFileSystem::readFolder(const OpenFolder& folder, FolderVisitor& visitor) const {
    return static_cast<const PosixFolder&>(folder).read(visitor);
}

Result<std::uint64_t> PosixFileSystem::entryLength(const OpenFolder& folder,
                                                   std::string_view name) const {
    // Names come from the folder's own entries: one component, which a short buffer
    // terminates without an allocation.
    char buffer[256];
    std::string longName;
    const char* terminated = buffer;
    if (name.size() < sizeof buffer) {
        name.copy(buffer, name.size());
        buffer[name.size()] = '\0';
    } else {
        longName = name;
        terminated = longName.c_str();
    }
    struct stat st {};
    if (::fstatat(static_cast<const PosixFolder&>(folder).fd(), terminated, &st,
                  AT_SYMLINK_NOFOLLOW) != 0) {
        return lastSystemError();
    }
    return static_cast<std::uint64_t>(st.st_size);
}

OpenFilesPtr PosixFileSystem::openFiles() const {
    return PosixOpenFiles::take();
}

bool PosixFileSystem::refused(const struct stat& st) const {
    return refused_ && !S_ISDIR(st.st_mode) &&
           refused_->holds(FileId{static_cast<std::uint64_t>(st.st_dev),
                                  static_cast<std::uint64_t>(st.st_ino)});
}

Result<std::string> PosixFileSystem::entryHead(const OpenFolder& folder, std::string_view name,
                                               std::size_t count) const {
    const int dir = static_cast<const PosixFolder&>(folder).fd();
    const std::string terminated(name);
    // A device is never opened: opening some of them has effects of its own.
    struct stat st {};
    if (::fstatat(dir, terminated.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastSystemError();
    }
    if (!S_ISREG(st.st_mode)) {
        return std::string();
    }
    const UniqueFd fd(::openat(dir, terminated.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return lastSystemError();
    }
    // Something else may have been put in its place between the two looks.
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
        return std::string();
    }
    std::string head(count, '\0');
    ssize_t got = 0;
    do {
        got = ::pread(fd.get(), head.data(), count, 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return lastSystemError();
    }
    head.resize(static_cast<std::size_t>(got));
    return head;
}

std::string PosixFileSystem::tempFolder() const {
    const char* tmpdir = std::getenv("TMPDIR");
    struct stat st {};
    if (tmpdir != nullptr && *tmpdir != '\0' && ::stat(tmpdir, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::string folder = tmpdir;
        if (folder.back() != '/') {
            folder.push_back('/');
        }
        return folder;
    }
    return "/tmp/";
}

std::vector<std::string> PosixFileSystem::volumes() const {
    std::vector<std::string> result;
    for (std::string& volume : MountTable::current().volumes()) {
        // Containers mount single files (/etc/hosts) too; only folders are volumes.
        struct stat st {};
        if (volume == "/" || (::stat(volume.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
            result.push_back(std::move(volume));
        }
    }
    return result;
}

Status PosixFileSystem::probe(const std::string& path) const {
    Result<OpenFolderPtr> folder = openFolder(path);
    if (!folder) {
        return folder.error();
    }
    struct Ignore final : FolderVisitor {
        void entry(std::string_view, EntryKind) override {}
    } ignore;
    return readFolder(*folder.value(), ignore);
}

std::string PosixFileSystem::userConfigFolder() const {
    return ConfigHome::folder();
}

bool PosixFileSystem::canWriteIn(const std::string& folder) const {
    // Trying is the only sure test: permissions, a read-only mount and access rules all
    // have their say, and root passes the permission bits.
    std::string probe = folder + "/.scourix-write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

Status PosixFileSystem::makeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at == folder.size() || folder[at] == '/') {
            const std::string part = folder.substr(0, at);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                return lastSystemError();
            }
        }
    }
    return {};
}

std::string PosixFileSystem::currentFolder() const {
    std::string folder(256, '\0');
    for (;;) {
        if (::getcwd(folder.data(), folder.size()) != nullptr) {
            folder.resize(std::strlen(folder.c_str()));
            return folder;
        }
        if (errno != ERANGE) {
            return {};
        }
        folder.resize(folder.size() * 2);
    }
}

Result<std::string> PosixFileSystem::readBytes(const std::string& path) const {
    const Result<ReachedEntry> at = resolver_.reach(path, true);
    if (!at) {
        return at.error();
    }
    return FileBytes::read(at.value().dir(), at.value().name.c_str(), kMaxTextFile);
}

Result<std::vector<std::string>> PosixFileSystem::readLines(const std::string& path,
                                                            std::size_t maxLines) const {
    Result<std::string> bytes = readBytes(path);
    if (!bytes) {
        return bytes.error();
    }
    // GB18030's later bytes are never CR or LF, so the decoded text splits where the bytes
    // would: too many lines are found before any is decoded or kept.
    if (forEachLine(bytes.value(), maxLines, [](std::string_view) {}) > maxLines) {
        return systemError(EFBIG);
    }
    std::vector<std::string> lines;
    forEachLine(Gb18030Codec::decode(bytes.value()), maxLines,
                [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

Result<std::string> PosixFileSystem::readText(const std::string& path) const {
    Result<std::string> bytes = readBytes(path);
    if (!bytes) {
        return bytes.error();
    }
    return Gb18030Codec::decode(bytes.value());
}

Result<WrittenFilePtr> PosixFileSystem::writeText(const std::string& path,
                                                  const std::string& text) {
    const Result<ReachedEntry> at = resolver_.reach(path, false);
    if (!at) {
        return at.error();
    }
    return FileBytes::createNew(at.value().dir(), at.value().name.c_str(),
                                Gb18030Codec::encode(text));
}

Status PosixFileSystem::replaceText(const std::string& path, const std::string& text) {
    // A link in place of the file is followed by the rule for links and stays a link: the
    // file it points to is what gets replaced.
    const Result<ReachedEntry> at = resolver_.reach(path, true);
    if (!at) {
        return at.error();
    }
    return FileBytes::replace(at.value().dir(), at.value().name.c_str(),
                              Gb18030Codec::encode(text));
}

}  // namespace scourix
