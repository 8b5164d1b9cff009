#include "DeepTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace scourix::bench {
namespace {

void makeFile(int dir, const char* name) {
    const int fd = ::openat(dir, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::runtime_error(std::string("cannot create ") + name);
    }
    ::close(fd);
}

void makeFolder(int dir, const char* name) {
    if (::mkdirat(dir, name, 0755) != 0) {
        throw std::runtime_error(std::string("cannot create folder ") + name);
    }
}

}  // namespace

DeepTreeStats buildDeepTree(const std::string& root, std::size_t levels) {
    DeepTreeStats stats;
    int dir = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        throw std::runtime_error("cannot open " + root);
    }
    for (std::size_t level = 1; level <= levels; ++level) {
        makeFolder(dir, "a");
        ++stats.folders;
        if (level % 10 == 0) {
            makeFile(dir, "f.txt");
            ++stats.files;
        }
        if (level % 100 == 0) {
            makeFolder(dir, "b");
            const int sibling = ::openat(dir, "b", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (sibling >= 0) {
                makeFile(sibling, "x.log");
                ::close(sibling);
            }
            ++stats.folders;
            ++stats.files;
        }
        if (level % 1000 == 0) {
            makeFile(dir, "j.tmp");
            ++stats.files;
            ++stats.junk;
        }
        const int next = ::openat(dir, "a", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(dir);
        if (next < 0) {
            throw std::runtime_error("cannot open a level of the deep tree");
        }
        dir = next;
        ++stats.levels;
    }
    ::close(dir);
    return stats;
}

}  // namespace scourix::bench
