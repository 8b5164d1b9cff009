#pragma once

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scourix::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        const char* tmpdir = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/posix_tests.XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempFolder() {
        ::nftw(
            path_.c_str(),
            [](const char* p, const struct stat* st, int, struct FTW*) {
                if (S_ISDIR(st->st_mode)) {
                    ::chmod(p, 0700);
                    return ::rmdir(p);
                }
                return ::unlink(p);
            },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

    // Writes bytes to a new file (mode 0644 before the umask).
    std::string file(std::string_view name, std::string_view bytes = "") const {
        const std::string p = *this / name;
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            throw std::runtime_error("cannot write " + p);
        }
        ::close(fd);
        return p;
    }

    std::string folder(std::string_view name) const {
        const std::string p = *this / name;
        if (::mkdir(p.c_str(), 0755) != 0) {
            throw std::runtime_error("cannot make " + p);
        }
        return p;
    }

    std::string link(std::string_view name, const std::string& target) const {
        const std::string p = *this / name;
        if (::symlink(target.c_str(), p.c_str()) != 0) {
            throw std::runtime_error("cannot link " + p);
        }
        return p;
    }

    std::string fifo(std::string_view name) const {
        const std::string p = *this / name;
        if (::mkfifo(p.c_str(), 0644) != 0) {
            throw std::runtime_error("cannot make FIFO " + p);
        }
        return p;
    }

private:
    std::string path_;
};

// The whole content of a file, or "<missing>".
inline std::string contentOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

inline bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

}  // namespace scourix::test
