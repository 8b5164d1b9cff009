#pragma once

#include <ftw.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scourix::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
// Each maker creates one entry (files 0644, folders 0755 before the umask) and returns
// its path.
class TempFolder {
public:
    TempFolder() : TempFolder(std::getenv("TMPDIR")) {}
    // Under base instead, where it can be written (a memory file system for big trees).
    explicit TempFolder(const char* base) {
        if (base == nullptr || *base == '\0' || ::access(base, W_OK) != 0) {
            base = std::getenv("TMPDIR");
        }
        path_ = std::string(base && *base ? base : "/tmp") + "/scourix_tests.XXXXXX";
        made(::mkdtemp(path_.data()) != nullptr, path_);
    }
    ~TempFolder() {
        const auto remove = [](const char* p, const struct stat* st, int, struct FTW*) {
            return S_ISDIR(st->st_mode) ? (::chmod(p, 0700), ::rmdir(p)) : ::unlink(p);
        };
        ::nftw(path_.c_str(), remove, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

    std::string file(std::string_view name, std::string_view bytes = "") const {
        std::ofstream out(*this / name, std::ios::binary);
        return made((out << bytes).flush().good(), *this / name);
    }
    std::string folder(std::string_view name) const {
        return made(::mkdir((*this / name).c_str(), 0755) == 0, *this / name);
    }
    std::string link(std::string_view name, const std::string& target) const {
        return made(::symlink(target.c_str(), (*this / name).c_str()) == 0, *this / name);
    }
    std::string fifo(std::string_view name) const {
        return made(::mkfifo((*this / name).c_str(), 0644) == 0, *this / name);
    }

    // A file at any path, with bytes.
    static void write(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary);
        made((out << bytes).flush().good(), path);
    }

private:
    static std::string made(bool ok, const std::string& path) {
        return ok ? path : throw std::runtime_error("cannot make " + path);
    }

    std::string path_;
};

// The whole content of a file, or "<missing>".
inline std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : "<missing>";
}

inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

inline bool exists(const std::string& path) {
    return modeOf(path) != 0;
}

// Makes writes beyond `bytes` fail with EFBIG, as on a full disk, instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    void (*previous_)(int);
    rlimit saved_{};
};

}  // namespace scourix::test
