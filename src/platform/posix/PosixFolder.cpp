#include "platform/posix/PosixFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/SystemError.h"

namespace scourix {

namespace {

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

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

EntryKind kindOf(unsigned char type) {
    switch (type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_REG:
            return EntryKind::File;
        case DT_LNK:
            return EntryKind::Link;
        default:
            return EntryKind::Special;
    }
}

}  // namespace

Result<OpenFolderPtr> PosixFolder::open(int dir, const char* name, const OpenFolder* parent,
                                        VirtualFileSystems& virtuals) {
    const int fd =
        ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR) {
            return OpenFolderPtr();
        }
        return lastSystemError();
    }
    auto folder = std::make_unique<PosixFolder>();
    folder->fd_.reset(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return lastSystemError();
    }
    folder->id = {st.st_dev, st.st_ino};
    folder->virtualFileSystem = parent != nullptr && parent->id.device == st.st_dev
                                    ? parent->virtualFileSystem
                                    : virtuals.contains(fd, st.st_dev);
    return OpenFolderPtr(std::move(folder));
}

Status PosixFolder::read(FolderVisitor& visitor) const {
    alignas(8) char buffer[32768];
    for (;;) {
        const long n = readEntries(fd_.get(), buffer, sizeof buffer);
        if (n < 0) {
            return lastSystemError();
        }
        if (n == 0) {
            return {};
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
                if (::fstatat(fd_.get(), name, &entry, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = IFTODT(entry.st_mode);
                } else if (errno == ENOENT) {
                    continue;  // gone since the folder was read
                } else {
                    type = DT_REG;  // listed; whatever is done with it reports the error
                }
            }
            visitor.entry(std::string_view(name), kindOf(type));
        }
    }
}

}  // namespace scourix
