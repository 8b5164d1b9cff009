#pragma once

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scourix::test {

constexpr uid_t kOtherUser = 54321;  // a user id nobody on the machine has

// A fresh folder under $TMPDIR, or under base where that can be written (a memory file
// system for big trees), removed with everything in it at the end. Each maker creates one
// entry (files 0644 unless told, folders 0755 before the umask) and returns its path.
class TempFolder {
public:
    explicit TempFolder(const char* base = nullptr) {
        if (base == nullptr || ::access(base, W_OK) != 0) {
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

    std::string file(std::string_view name, std::string_view bytes = "", mode_t mode = 0644) const {
        write(*this / name, bytes);
        return made(::chmod((*this / name).c_str(), mode) == 0, *this / name);
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
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

inline std::size_t entriesIn(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

inline bool exists(const std::string& path) {
    return modeOf(path) != 0;
}

}  // namespace scourix::test
