#include "platform/posix/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "platform/posix/PosixWrittenFile.h"
#include "platform/posix/SystemError.h"
#include "platform/posix/UniqueFd.h"

namespace scourix {

namespace {

// Closes fd and turns a failure of the close itself (a late write error on some file
// systems) into the status.
Status closeChecked(int fd) {
    if (::close(fd) != 0 && errno != EINTR) {
        return lastSystemError();
    }
    return {};
}

// Removes name from dir only while it is still the file we made.
void removeOwn(int dir, const char* name, const struct stat& made) {
    struct stat now {};
    if (::fstatat(dir, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == made.st_dev &&
        now.st_ino == made.st_ino) {
        ::unlinkat(dir, name, 0);
    }
}

// A name that no entry has yet, opened exclusively: name + "." + six random characters.
int createUnique(int dir, const std::string& name, mode_t mode, std::string& created) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = name + ".";
        for (int i = 0; i < 6; ++i) {
            created.push_back(kLetters[pick(random)]);
        }
        const int fd = ::openat(dir, created.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

Result<std::string> FileBytes::read(int dir, const char* name, std::size_t cap) {
    struct stat seen {};
    if (::fstatat(dir, name, &seen, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastSystemError();
    }
    if (S_ISDIR(seen.st_mode)) {
        return systemError(EISDIR);
    }
    // Opening a device can act on it, and a FIFO can block: only regular files are opened.
    if (!S_ISREG(seen.st_mode)) {
        return systemError(EINVAL);
    }
    if (static_cast<std::uint64_t>(seen.st_size) > cap) {
        return systemError(EFBIG);
    }
    UniqueFd fd(::openat(dir, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    if (!fd.valid()) {
        return lastSystemError();
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return lastSystemError();
    }
    // Swapped for something else between the look and the open.
    if (st.st_dev != seen.st_dev || st.st_ino != seen.st_ino || !S_ISREG(st.st_mode)) {
        return systemError(EAGAIN);
    }
    std::string bytes;
    // Its size as looked at may have grown since: the limit still bounds the memory.
    bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), cap));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return lastSystemError();
        }
        if (n == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > cap) {
            return systemError(EFBIG);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

Status FileBytes::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return lastSystemError();
        }
        if (n == 0) {
            return systemError(ENOSPC);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

Result<WrittenFilePtr> FileBytes::createNew(int dir, const char* name, std::string_view bytes) {
    // The reports go to fixed names in the shared temporary folder, where anyone can put a
    // link, a hard link to a file of theirs or a folder first: only a leftover of our own
    // is cleared away, and the file written is always a new one.
    struct stat old {};
    if (::fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(old.st_mode) || old.st_uid != ::geteuid() || old.st_nlink != 1) {
            return systemError(EEXIST);
        }
        if (::unlinkat(dir, name, 0) != 0 && errno != ENOENT) {
            return lastSystemError();
        }
    }
    const int fd =
        ::openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        return lastSystemError();
    }
    struct stat made {};
    Status status = ::fstat(fd, &made) == 0 ? writeAll(fd, bytes) : Status(lastSystemError());
    // The hold shares the open file, so closing fd still reports a late write error.
    auto written = std::make_shared<PosixWrittenFile>();
    written->fd.reset(status ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1);
    if (status && !written->fd.valid()) {
        status = lastSystemError();
    }
    if (status) {
        status = closeChecked(fd);
    } else {
        ::close(fd);
    }
    if (!status) {
        removeOwn(dir, name, made);
        return status.error();
    }
    return WrittenFilePtr(std::move(written));
}

Status FileBytes::replace(int dir, const char* name, std::string_view bytes) {
    struct stat old {};
    const bool exists = ::fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return systemError(EISDIR);
    }
    // Renaming over a read-only file succeeds, and root passes every permission check: the
    // owner's write bit is asked here, so a file its owner protected stays as it is.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0)) {
        return systemError(EACCES);
    }
    std::string temporary;
    // A new file gets 0666 less the umask from the kernel; a replacement its own bits.
    const int fd = createUnique(dir, name, exists ? 0600 : 0666, temporary);
    if (fd < 0) {
        return lastSystemError();
    }
    Status status;
    if (exists) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Keeps the owner where this process may; elsewhere the new file is ours.
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            status = lastSystemError();
        }
    }
    if (status) {
        status = writeAll(fd, bytes);
    }
    if (status && ::fsync(fd) != 0) {
        status = lastSystemError();
    }
    if (status) {
        status = closeChecked(fd);
    } else {
        ::close(fd);
    }
    // Replacing the old file is the point here, so this is a plain rename.
    if (status && ::renameat(dir, temporary.c_str(), dir, name) != 0) {
        status = lastSystemError();
    }
    if (!status) {
        ::unlinkat(dir, temporary.c_str(), 0);
        return status;
    }
    // Makes the rename itself durable; a folder that cannot be synced changes nothing.
    const int folder = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return status;
}

}  // namespace scourix
