#include "platform/posix/AtPath.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <unistd.h>

#include <cerrno>

namespace scourix {
namespace {

// Comfortably below PATH_MAX, so that every piece is accepted.
constexpr std::size_t kPiece = PATH_MAX / 2;

}  // namespace

AtPath::AtPath(const std::string& path) : dir_(AT_FDCWD), leaf_(path) {
    if (path.size() < PATH_MAX) {
        return;
    }
    std::string rest = path;
    while (rest.size() > 1 && rest.back() == '/') {
        rest.pop_back();
    }
    const std::size_t slash = rest.rfind('/');
    leaf_ = slash == std::string::npos ? rest : rest.substr(slash + 1);
    std::string parent = slash == std::string::npos ? std::string() : rest.substr(0, slash);
    int fd = ::open(rest.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::size_t at = parent.find_first_not_of('/');
    while (fd >= 0 && at != std::string::npos && at < parent.size()) {
        // The longest run of whole components that fits in one piece.
        std::size_t end = parent.size();
        if (end - at > kPiece) {
            end = parent.rfind('/', at + kPiece);
            if (end == std::string::npos || end <= at) {
                ::close(fd);
                fd = -1;
                errno = ENAMETOOLONG;
                break;
            }
        }
        const std::string piece = parent.substr(at, end - at);
        const int next = ::openat(fd, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int saved = errno;
        ::close(fd);
        fd = next;
        errno = saved;
        at = parent.find_first_not_of('/', end);
    }
    if (fd < 0) {
        error_ = errno;
        return;
    }
    dir_ = fd;
    owned_ = true;
}

AtPath::~AtPath() {
    if (owned_) {
        ::close(dir_);
    }
}

}  // namespace scourix
