#include "SyntheticTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string_view>

namespace scourix::bench {
namespace {

// Junk names by construction, each matching a built-in pattern; "#" stands for the file's
// number, which keeps names unique within a folder.
constexpr std::array kJunk{
    "report#.tmp", "Budget#.BAK",   "~wrl#.tmp",     "notes#.old",       "data#.$$$",  "page#.~htm",
    "CHKLIST.#",   "file#.chk",     "book#.XLK",     "Backup of x#.wbk", "thing#.del", "setup#.ex$",
    "draft#.bk1",  "mscreate#.dir", "~$letter#.doc", "help#.GID",        "index#.fts", "a#._mp",
    "~wrl#",       "Backup of y#",  // dotless: "~*.*" and "Backup of*.*" match these too
};
constexpr std::array kPlain{"readme",     "main.cpp",  "photo.jpg", "Makefile",  "song.ogg",
                            "index.html", "data.json", "LICENSE",   "notes.txt", "lib.so"};

void writeFile(const std::string& path, std::size_t length) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::runtime_error("cannot create " + path);
    }
    if (length > 0) {
        std::string bytes(length, 'x');
        if (::write(fd, bytes.data(), bytes.size()) < 0) {
            ::close(fd);
            throw std::runtime_error("cannot write " + path);
        }
    }
    ::close(fd);
}

// Removes every entry of the folder that is not a folder; returns the names of its folders.
std::vector<std::string> removeFilesAt(int fd) {
    std::vector<std::string> files, folders;
    alignas(8) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        for (ssize_t offset = 0; offset < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += e->d_reclen;
            const std::string_view name(e->d_name);
            if (name == "." || name == "..") {
                continue;
            }
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st {};
                type = DT_REG;
                if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = static_cast<unsigned char>(IFTODT(st.st_mode));
                }
            }
            (type == DT_DIR ? folders : files).emplace_back(name);
        }
    }
    for (const std::string& f : files) {
        ::unlinkat(fd, f.c_str(), 0);
    }
    return folders;
}

}  // namespace

void readShapeArguments(int argc, char** argv, TreeShape& shape, int& rounds) {
    if (argc >= 3) {
        shape.folders = std::strtoul(argv[1], nullptr, 10);
        shape.files = std::strtoul(argv[2], nullptr, 10);
    }
    if (argc >= 4) {
        rounds = std::atoi(argv[3]);
    }
}

TreeStats buildTree(const std::string& root, const TreeShape& shape) {
    std::mt19937 rng(shape.seed);
    TreeStats stats;
    std::vector<std::string> folders{root};
    // Each new folder hangs below a random earlier one: a tree of varied depth and width.
    for (std::size_t i = 1; i < shape.folders; ++i) {
        const std::string& parent = folders[rng() % folders.size()];
        std::string name = (rng() % 7 == 0 ? "Dir" : "dir") + std::to_string(i);
        if (rng() % 50 == 0) {
            name = "." + name;  // hidden folders are entered too
        }
        std::string path = parent + "/" + name;
        if (::mkdir(path.c_str(), 0755) != 0) {
            throw std::runtime_error("cannot create " + path);
        }
        folders.push_back(std::move(path));
    }
    stats.folders = folders.size();
    for (std::size_t i = 0; i < shape.files; ++i) {
        const std::string& folder = folders[rng() % folders.size()];
        std::string name;
        const unsigned kind = rng() % 100;
        if (kind < shape.junkPercent) {
            name = kJunk[rng() % kJunk.size()];
            name.replace(name.find('#'), 1, std::to_string(i));
            ++stats.junk;
        } else if (kind < shape.junkPercent + 2) {
            name = "." + std::to_string(i) + "_hidden.tmp";  // hidden: left out by default
        } else if (kind < shape.junkPercent + 3) {
            name = std::to_string(i) + "_\xff\xfe_raw.tmp";  // not valid UTF-8
            ++stats.junk;
        } else if (kind < shape.junkPercent + 3 + shape.specialPercent) {
            const std::string path = folder + "/" + std::to_string(i);
            const bool link = rng() % 2 == 0;
            const int rc = link ? ::symlink("readme", (path + "_link.tmp").c_str())
                                : ::mkfifo((path + "_fifo.tmp").c_str(), 0644);
            if (rc != 0) {
                throw std::runtime_error("cannot create " + path);
            }
            stats.junk += link ? 1 : 0;  // links are listed, FIFOs never
            ++stats.files;
            continue;
        } else {
            name = std::to_string(i) + "_" + kPlain[rng() % kPlain.size()];
        }
        writeFile(folder + "/" + name, rng() % 64);
        ++stats.files;
    }
    return stats;
}

void removeTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // Relative to descriptors, so that trees far deeper than PATH_MAX go too: down through
    // the folders left to remove, back up through "..", holding two descriptors at most.
    struct Level {
        std::string name;
        std::vector<std::string> pending;  // subfolders not yet removed
    };
    std::vector<Level> levels{{"", removeFilesAt(fd)}};
    for (;;) {
        Level& top = levels.back();
        if (!top.pending.empty()) {
            std::string name = std::move(top.pending.back());
            top.pending.pop_back();
            const int child =
                ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0) {
                ::close(fd);
                fd = child;
                levels.push_back({std::move(name), removeFilesAt(fd)});
            }
            continue;
        }
        if (levels.size() == 1) {
            break;
        }
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = parent;
        if (fd < 0 || ::unlinkat(fd, top.name.c_str(), AT_REMOVEDIR) != 0) {
            break;  // left behind rather than walked again
        }
        levels.pop_back();
    }
    if (fd >= 0) {
        ::close(fd);
    }
    ::rmdir(root.c_str());
}

std::string fileSystemName(const std::string& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) {
        return "unknown file system";
    }
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x01021994:
            return "tmpfs";
        case 0xEF53:
            return "ext4";
        case 0x9123683E:
            return "btrfs";
        case 0x58465342:
            return "xfs";
        case 0x794C7630:
            return "overlayfs";
        default: {
            char hex[32];
            std::snprintf(hex, sizeof hex, "file system 0x%lx",
                          static_cast<unsigned long>(fs.f_type));
            return hex;
        }
    }
}

std::string tempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

std::string makeTempFolder(const std::string& prefix) {
    std::string pattern = tempFolder() + "/" + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

}  // namespace scourix::bench
