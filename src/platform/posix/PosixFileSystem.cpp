#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/posix/AtPath.h"
#include "platform/posix/FileBytes.h"
#include "platform/posix/Gb18030Codec.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/SystemError.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace scourix {

namespace {

// statfs type numbers of the file systems a walk never enters (linux/magic.h and the
// kernel sources for those it leaves out).
bool isVirtualMagic(std::uint32_t magic) {
    switch (magic) {
        case 0x9fa0:      // proc
        case 0x62656572:  // sysfs
        case 0x1cd1:      // devpts
        case 0x27e0eb:    // cgroup
        case 0x63677270:  // cgroup2
        case 0x64626720:  // debugfs
        case 0x74726163:  // tracefs
        case 0x73636673:  // securityfs
        case 0x6165676c:  // pstore
        case 0xcafe4a11:  // bpf
        case 0x62656570:  // configfs
        case 0x65735543:  // fusectl
        case 0x19800202:  // mqueue
        case 0x42494e4d:  // binfmt_misc
        case 0x0187:      // autofs
        case 0x958458f6:  // hugetlbfs
        case 0xde5e81e4:  // efivarfs: deleting a variable can leave a machine unbootable
        case 0xf97cff8c:  // selinuxfs
        case 0x6e736673:  // nsfs
            return true;
        default:
            return false;
    }
}
constexpr std::uint32_t kTmpfsMagic = 0x01021994;

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Folder entries as the kernel hands them out (struct linux_dirent64): the record
// length at byte 16, the type at 18, the NUL-terminated name from 19.
constexpr std::size_t kDirentReclen = 16;
constexpr std::size_t kDirentType = 18;
constexpr std::size_t kDirentName = 19;

long readEntries(int fd, char* buffer, std::size_t size) {
    long n;
    do {
        n = ::syscall(SYS_getdents64, fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

// Lines end at CR LF, CR or LF; a final line end makes no extra empty line.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

// lstat through an AtPath: 0, or the errno of the failure.
int statNoFollow(const AtPath& at, struct stat& st) {
    if (!at.ok()) {
        return at.error();
    }
    return ::fstatat(at.dir(), at.leaf(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::string programFolder)
    : programFolder_(std::move(programFolder)) {
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
        programFolder_ = "/";
    }
}

Result<std::string> PosixFileSystem::lookup(const std::string& path, Lookup filter) const {
    struct stat st {};
    if (const int error = statNoFollow(AtPath(path), st); error != 0) {
        if (error == ENOENT || error == ENOTDIR) {
            return std::string();
        }
        return systemError(error);
    }
    if (S_ISDIR(st.st_mode)) {
        return std::string();
    }
    std::string name = baseName(path);
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

Result<FolderListing> PosixFileSystem::listFolder(const std::string& path) const {
    // A plain open: a location the user typed may itself be a link to a folder.
    const AtPath at(path);
    if (!at.ok()) {
        return systemError(at.error());
    }
    const int fd = ::openat(at.dir(), at.leaf(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastSystemError();
    }
    FolderListing listing;
    listing.path = path;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Error error = lastSystemError();
        ::close(fd);
        return error;
    }
    listing.device = st.st_dev;
    listing.inode = st.st_ino;
    listing.virtualFileSystem = isVirtual(fd, st.st_dev);

    alignas(8) char buffer[32768];
    for (;;) {
        const long n = readEntries(fd, buffer, sizeof buffer);
        if (n < 0) {
            Error error = lastSystemError();
            ::close(fd);
            return error;
        }
        if (n == 0) {
            break;
        }
        for (long offset = 0; offset < n;) {
            const char* record = buffer + offset;
            unsigned short length = 0;
            std::memcpy(&length, record + kDirentReclen, sizeof length);
            offset += length;
            const char* name = record + kDirentName;
            if (isDotOrDotDot(name)) {
                continue;
            }
            unsigned char type = static_cast<unsigned char>(record[kDirentType]);
            if (type == DT_UNKNOWN) {
                // Some file systems leave the type out of the listing.
                struct stat entry {};
                if (::fstatat(fd, name, &entry, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = IFTODT(entry.st_mode);
                } else if (errno == ENOENT) {
                    continue;  // gone since the folder was read
                } else {
                    type = DT_REG;  // listed; whatever is done with it reports the error
                }
            }
            FolderEntry& entry = listing.entries.emplace_back();
            entry.name = name;
            entry.isFolder = type == DT_DIR;
            entry.hidden = name[0] == '.';
            entry.system = type != DT_DIR && type != DT_REG && type != DT_LNK;
        }
    }
    ::close(fd);
    return listing;
}

bool PosixFileSystem::isVirtual(int fd, std::uint64_t device) const {
    std::lock_guard lock(virtualMutex_);
    if (auto it = deviceIsVirtual_.find(device); it != deviceIsVirtual_.end()) {
        return it->second;
    }
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) {
        return false;  // asked again next time
    }
    const auto magic = static_cast<std::uint32_t>(fs.f_type);
    // devtmpfs shares tmpfs's magic number; only the mount table tells them apart.
    const bool isVirtualFs = magic == kTmpfsMagic
                                 ? MountTable::current().typeOfDevice(device) == "devtmpfs"
                                 : isVirtualMagic(magic);
    deviceIsVirtual_.emplace(device, isVirtualFs);
    return isVirtualFs;
}

Result<std::uint64_t> PosixFileSystem::fileLength(const std::string& path) const {
    struct stat st {};
    if (const int error = statNoFollow(AtPath(path), st); error != 0) {
        return systemError(error);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

Status PosixFileSystem::removeFile(const std::string& path) {
    struct stat st {};
    const AtPath at(path);
    if (const int error = statNoFollow(at, st); error != 0) {
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
    if (::unlinkat(at.dir(), at.leaf(), 0) != 0) {
        return lastSystemError();
    }
    return {};
}

Status PosixFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    const AtPath src(from);
    const AtPath dst(to);
    if (!src.ok() || !dst.ok()) {
        return systemError(src.ok() ? dst.error() : src.error());
    }
    if (::syscall(SYS_renameat2, src.dir(), src.leaf(), dst.dir(), dst.leaf(), RENAME_NOREPLACE) ==
        0) {
        return {};
    }
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) {
        return systemError(error);
    }
    // The file system refuses the flag: a link fails on an existing name just the same.
    // Never a plain rename, which would replace the target.
    if (::linkat(src.dir(), src.leaf(), dst.dir(), dst.leaf(), 0) != 0) {
        return lastSystemError();
    }
    if (::unlinkat(src.dir(), src.leaf(), 0) != 0) {
        Error failure = lastSystemError();
        ::unlinkat(dst.dir(), dst.leaf(), 0);
        return failure;
    }
    return {};
}

Result<bool> PosixFileSystem::resetAttributes(const std::string& path) {
    // A file that cannot be opened for reading is left as it is, like one that is gone.
    struct stat st {};
    const AtPath at(path);
    if (statNoFollow(at, st) != 0) {
        return false;
    }
    // Links, devices, FIFOs and sockets have no read-only state of their own; opening a
    // device can act on it, so they are left alone unopened.
    if (!S_ISREG(st.st_mode)) {
        return false;
    }
    const int fd =
        ::openat(at.dir(), at.leaf(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    Result<bool> result = true;
    if (::fstat(fd, &st) != 0) {
        result = lastSystemError();
    } else if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0 &&
               ::fchmod(fd, (st.st_mode & 07777) | S_IWUSR) != 0) {
        result = lastSystemError();
    }
    ::close(fd);
    return result;
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastSystemError();
    }
    alignas(8) char buffer[4096];
    Status status;
    if (readEntries(fd, buffer, sizeof buffer) < 0) {
        status = lastSystemError();
    }
    ::close(fd);
    return status;
}

std::string PosixFileSystem::userConfigFolder() const {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/scourix";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/scourix";
    }
    return {};
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

Result<std::vector<std::string>> PosixFileSystem::readLines(const std::string& path) const {
    Result<std::string> bytes = FileBytes::read(path);
    if (!bytes) {
        return bytes.error();
    }
    // GB18030's later bytes are never CR or LF, so the decoded text splits where the bytes
    // would.
    return splitLines(Gb18030Codec::decode(bytes.value()));
}

Result<std::string> PosixFileSystem::readText(const std::string& path) const {
    Result<std::string> bytes = FileBytes::read(path);
    if (!bytes) {
        return bytes.error();
    }
    return Gb18030Codec::decode(bytes.value());
}

Status PosixFileSystem::writeText(const std::string& path, const std::string& text) {
    return FileBytes::create(path, Gb18030Codec::encode(text));
}

Status PosixFileSystem::replaceText(const std::string& path, const std::string& text) {
    return FileBytes::replace(path, Gb18030Codec::encode(text));
}

}  // namespace scourix
