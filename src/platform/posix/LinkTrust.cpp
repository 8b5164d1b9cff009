#include "platform/posix/LinkTrust.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/UniqueFd.h"

namespace scourix {

bool LinkTrust::trustedOwner(const struct stat& entry) const {
    return entry.st_uid == 0 || entry.st_uid == ::geteuid();
}

bool LinkTrust::openToOthers(const struct stat& folder) const {
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (folder.st_mode & S_ISVTX) == 0;
}

bool LinkTrust::safeFolder(int fd) const {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    UniqueFd above;
    for (;;) {
        if (!trustedOwner(st) || openToOthers(st)) {
            return false;
        }
        // ".." crosses mount points as a path would; at "/" it is "/" itself.
        UniqueFd up(::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat upSt {};
        if (!up.valid() || ::fstat(up.get(), &upSt) != 0) {
            return false;
        }
        if (upSt.st_dev == st.st_dev && upSt.st_ino == st.st_ino) {
            return true;
        }
        above = std::move(up);
        fd = above.get();
        st = upSt;
    }
}

}  // namespace scourix
