#include "SyntheticTree.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace scourix::bench {
namespace {

// Junk names by construction: each matches one of the built-in patterns.
// Junk names by construction, each matching a built-in pattern; "#" stands for the file's
// number, which keeps names unique within a folder.
constexpr std::array kJunk{
    "report#.tmp", "Budget#.BAK",   "~wrl#.tmp",     "notes#.old",       "data#.$$$",  "page#.~htm",
    "CHKLIST.#",   "file#.chk",     "book#.XLK",     "Backup of x#.wbk", "thing#.del", "setup#.ex$",
    "draft#.bk1",  "mscreate#.dir", "~$letter#.doc", "help#.GID",        "index#.fts", "a#._mp",
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
        } else {
            name = std::to_string(i) + "_" + kPlain[rng() % kPlain.size()];
        }
        writeFile(folder + "/" + name, rng() % 64);
        ++stats.files;
    }
    return stats;
}

void removeTree(const std::string& root) {
    ::nftw(
        root.c_str(),
        [](const char* path, const struct stat*, int type, struct FTW*) {
            return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
        },
        64, FTW_DEPTH | FTW_PHYS);
}

std::string makeTempFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

}  // namespace scourix::bench
