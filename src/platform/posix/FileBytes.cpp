#include "platform/posix/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/posix/SystemError.h"

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

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name that no file has yet, opened exclusively: path + "." + six random characters.
int createUnique(const std::string& path, mode_t mode, std::string& created) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = path + ".";
        for (int i = 0; i < 6; ++i) {
            created.push_back(kLetters[pick(random)]);
        }
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

Result<std::string> FileBytes::read(const std::string& path) {
    // Non-blocking so that a FIFO without a writer reads as empty instead of hanging.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return lastSystemError();
    }
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Error error = lastSystemError();
            ::close(fd);
            return error;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
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

Status FileBytes::create(const std::string& path, std::string_view bytes) {
    // Non-blocking so that a FIFO without a reader fails instead of hanging. A link is
    // never followed and a file of another user never written: the scan report goes to a
    // fixed name in the shared temporary folder, where anyone could have put either.
    const int fd = ::open(
        path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return lastSystemError();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Error error = lastSystemError();
        ::close(fd);
        return error;
    }
    const bool regular = S_ISREG(st.st_mode);
    if (regular && st.st_uid != ::geteuid()) {
        ::close(fd);
        return systemError(EPERM);
    }
    Status status = regular && ::ftruncate(fd, 0) != 0 ? Status(lastSystemError()) : Status();
    if (status) {
        status = writeAll(fd, bytes);
    }
    if (status) {
        status = closeChecked(fd);
    } else {
        ::close(fd);
    }
    // Only a regular file is half-written: a device such as /dev/full stays.
    if (!status && regular) {
        ::unlink(path.c_str());
    }
    return status;
}

Status FileBytes::replace(const std::string& path, std::string_view bytes) {
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    std::string temporary;
    // A new file gets 0666 less the umask from the kernel; a replacement its own bits.
    const int fd = createUnique(path, exists ? 0600 : 0666, temporary);
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
    if (status && ::rename(temporary.c_str(), path.c_str()) != 0) {
        status = lastSystemError();
    }
    if (!status) {
        ::unlink(temporary.c_str());
        return status;
    }
    // Makes the rename itself durable; a folder that cannot be synced changes nothing.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return status;
}

}  // namespace scourix
