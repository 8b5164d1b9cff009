#include "platform/posix/RegularFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/SystemError.h"
#include "platform/posix/UniqueFd.h"

namespace scourix {

namespace {

std::string procPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// Up to max bytes from the start of the file held as an O_PATH descriptor. It is opened for
// reading through its descriptor's own entry, which reaches that inode and no other.
std::string headOf(int fd, const struct stat& held, std::size_t max) {
    std::string head;
    UniqueFd file(::open(procPath(fd).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!file.valid() || ::fstat(file.get(), &st) != 0 || st.st_dev != held.st_dev ||
        st.st_ino != held.st_ino) {
        return head;
    }
    head.resize(max);
    std::size_t got = 0;
    while (got < max) {
        const ssize_t n = ::read(file.get(), head.data() + got, max - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

}  // namespace

std::string RegularFileCheck::pathOf(int fd) {
    const std::string link = procPath(fd);
    std::string real(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), real.data(), real.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < real.size()) {
            real.resize(static_cast<std::size_t>(n));
            return real;
        }
        real.resize(real.size() * 2);
    }
}

Result<CheckedFile> RegularFileCheck::check(const PathResolver& resolver, const std::string& path,
                                            std::size_t headBytes) {
    const Result<ReachedEntry> at = resolver.reach(path, true);
    if (!at) {
        return at.error();
    }
    UniqueFd held(
        ::openat(at.value().dir(), at.value().name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!held.valid() || ::fstat(held.get(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return CheckedFile{};
        }
        return lastSystemError();
    }
    if (!S_ISREG(st.st_mode) || st.st_nlink == 0) {
        return CheckedFile{};
    }
    CheckedFile checked{pathOf(held.get()), {}};
    if (!checked.realPath.starts_with('/')) {
        return systemError(ENOENT);  // no /proc, or no path the desktop could use
    }
    // The path read back leads to the file held, now, through no other user's link.
    const Result<ReachedEntry> again = resolver.reach(checked.realPath, false);
    if (!again) {
        return again.error();
    }
    struct stat now {};
    if (::fstatat(again.value().dir(), again.value().name.c_str(), &now, AT_SYMLINK_NOFOLLOW) !=
            0 ||
        now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
        return CheckedFile{};
    }
    if (headBytes > 0) {
        checked.head = headOf(held.get(), st, headBytes);
    }
    return checked;
}

}  // namespace scourix
