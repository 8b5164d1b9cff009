#include "Floor.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace scourix::bench {
namespace {

constexpr std::size_t kBufferBytes = 32768;  // as the scan's own listing reads

void lookAt(int fd, const std::vector<std::string>& names) {
    struct stat st {};
    for (const std::string& name : names) {
        ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW);
    }
}

std::size_t walkAt(int fd, std::string& path, char* buffer, const ResultsByFolder& results) {
    std::size_t count = 0;
    std::string folders;  // NUL-separated names
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, kBufferBytes);
        if (n <= 0) {
            break;
        }
        for (ssize_t offset = 0; offset < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += e->d_reclen;
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) {
                continue;
            }
            ++count;
            if (e->d_type == DT_DIR) {
                folders.append(name).push_back('\0');
            }
        }
    }
    if (auto here = results.find(path); here != results.end()) {
        lookAt(fd, here->second);
        lookAt(fd, here->second);
    }
    const std::size_t length = path.size();
    for (std::size_t at = 0; at < folders.size(); at = folders.find('\0', at) + 1) {
        const int sub =
            ::openat(fd, folders.c_str() + at, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0) {
            path.append("/").append(folders.c_str() + at);
            count += walkAt(sub, path, buffer, results);
            path.resize(length);
            ::close(sub);
        }
    }
    return count;
}

}  // namespace

ResultsByFolder groupByFolder(const std::vector<std::string>& paths) {
    ResultsByFolder out;
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        out[path.substr(0, slash)].push_back(path.substr(slash + 1));
    }
    return out;
}

std::size_t floorWalk(const std::string& root, const ResultsByFolder& results) {
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::vector<char> buffer(kBufferBytes);
    std::string path = root;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    const std::size_t count = walkAt(fd, path, buffer.data(), results);
    ::close(fd);
    return count;
}

void floorCheck(const ResultsByFolder& results, unsigned threads) {
    std::vector<const ResultsByFolder::value_type*> groups;
    for (const auto& group : results) {
        groups.push_back(&group);
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < groups.size();) {
            const int fd = ::open(groups[i]->first.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                lookAt(fd, groups[i]->second);
                ::close(fd);
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) {
        pool.emplace_back(work);
    }
    work();
    for (std::thread& t : pool) {
        t.join();
    }
}

}  // namespace scourix::bench
