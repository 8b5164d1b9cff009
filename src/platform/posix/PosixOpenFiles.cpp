#include "platform/posix/PosixOpenFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/UniqueFd.h"

namespace scourix {
namespace {

bool isNumber(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9') {
            return false;
        }
    }
    return true;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

}  // namespace

std::shared_ptr<const PosixOpenFiles> PosixOpenFiles::take(const std::string& procRoot) {
    auto open = std::make_shared<PosixOpenFiles>();
    const Dir proc(::opendir(procRoot.c_str()));
    if (!proc) {
        return open;
    }
    const std::string self = std::to_string(::getpid());
    // Each process's descriptors are links to what it holds; a stat through one reaches the
    // file itself, whatever name it had. Processes that end meanwhile, and those of other
    // users that cannot be looked into, are passed over.
    while (const dirent* process = ::readdir(proc.get())) {
        if (!isNumber(process->d_name) || self == process->d_name) {
            continue;
        }
        const std::string fdPath = procRoot + '/' + process->d_name + "/fd";
        const UniqueFd fdFolder(::open(fdPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fdFolder.valid()) {
            continue;
        }
        const int dup = ::dup(fdFolder.get());
        const Dir fds(dup >= 0 ? ::fdopendir(dup) : nullptr);
        if (!fds) {
            if (dup >= 0) {
                ::close(dup);
            }
            continue;
        }
        while (const dirent* fd = ::readdir(fds.get())) {
            struct stat st {};
            if (!isNumber(fd->d_name) || ::fstatat(fdFolder.get(), fd->d_name, &st, 0) != 0 ||
                S_ISDIR(st.st_mode)) {
                continue;
            }
            open->held_.insert(FileId{static_cast<std::uint64_t>(st.st_dev),
                                      static_cast<std::uint64_t>(st.st_ino)});
        }
    }
    return open;
}

}  // namespace scourix
