#include "platform/posix/DpkgDatabase.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>

namespace scourix {

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::min();
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
// A modification time this close to the clock may share its tick with a change still to
// come, which would then leave the time as it is.
constexpr std::int64_t kRacyNanoseconds = 1'000'000'000;

std::int64_t steadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The spelling without "/usr" of a path in a merged-/usr folder, so that /usr/lib/x and
// /lib/x hash alike (either is what a file found through the other gives); any other path
// as it is.
std::string_view keyOf(std::string_view path) {
    static constexpr std::string_view kMerged[] = {"bin",   "sbin",  "lib",
                                                   "lib32", "lib64", "libx32"};
    if (!path.starts_with("/usr/")) {
        return path;
    }
    const std::string_view rest = path.substr(5);
    const std::string_view top = rest.substr(0, rest.find('/'));
    for (const std::string_view merged : kMerged) {
        if (top == merged) {
            return path.substr(4);
        }
    }
    return path;
}

std::uint64_t hashOf(std::string_view key) {
    std::uint64_t h = key.size() * kMultiplier;
    const char* p = key.data();
    std::size_t n = key.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 29;
    }
    if (n > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, n);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 29;
    }
    // The slot comes from the low bits, so every input bit must reach them.
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBULL;
    h ^= h >> 31;
    return h == 0 ? 1 : h;  // 0 marks an empty slot
}

// An open-addressing table at most half full, so that a probe ends at an empty slot soon.
std::vector<std::uint64_t> tableOf(const std::vector<std::uint64_t>& hashes,
                                   std::size_t& distinct) {
    std::size_t capacity = 16;
    while (capacity < 2 * hashes.size()) {
        capacity *= 2;
    }
    std::vector<std::uint64_t> table(capacity, 0);
    const std::size_t mask = capacity - 1;
    for (const std::uint64_t h : hashes) {
        std::size_t i = h & mask;
        while (table[i] != 0 && table[i] != h) {
            i = (i + 1) & mask;
        }
        distinct += table[i] == 0;
        table[i] = h;
    }
    return table;
}

bool contains(const std::vector<std::uint64_t>& table, std::uint64_t h) {
    const std::size_t mask = table.size() - 1;
    std::size_t i = h & mask;
    while (table[i] != 0 && table[i] != h) {
        i = (i + 1) & mask;
    }
    return table[i] == h;
}

// The whole of the regular file at fd in buffer, in one read, if it is not over the limit.
// dpkg replaces its files by renaming new ones over them, so none grows while it is read.
bool readAll(int fd, std::string& buffer) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > DpkgDatabase::kMaxFileBytes) {
        return false;
    }
    buffer.resize(static_cast<std::size_t>(st.st_size));
    std::size_t used = 0;
    while (used < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    buffer.resize(used);
    return true;
}

// Calls take(line, index) for each line of text, the last one with or without "\n".
template <typename Take>
void forEachLine(std::string_view text, Take take) {
    for (std::size_t index = 0; !text.empty(); ++index) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        take(text.substr(0, end), index);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// The hashes of the paths in folder/*.list; false when a list could not be read whole, so
// that any file might be in it. A list gone before it is opened is passed over: its package
// was removed meanwhile (dpkg replaces a list by a rename, which never leaves the name free).
// A missing folder is no database.
bool readLists(const std::string& folder, std::vector<std::uint64_t>& hashes,
               DpkgDatabase::Figures& figures) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return errno == ENOENT;
    }
    const int folderFd = ::dirfd(dir);
    std::string buffer;
    bool whole = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            whole = whole && errno == 0;
            break;
        }
        if (!std::string_view(entry->d_name).ends_with(".list")) {
            continue;
        }
        // Non-blocking so that a FIFO in the folder cannot hold the reader.
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            whole = whole && errno == ENOENT;
            continue;
        }
        const bool read = readAll(fd, buffer);
        ::close(fd);
        if (!read) {
            whole = false;
            continue;
        }
        ++figures.lists;
        forEachLine(buffer, [&](std::string_view line, std::size_t) {
            if (!line.empty()) {
                hashes.push_back(hashOf(keyOf(line)));
                ++figures.paths;
            }
        });
    }
    ::closedir(dir);
    return whole;
}

// The hashes of the paths that files were diverted to: groups of three lines, the
// original, the new place, the diverting package. False when the file is there but could
// not be read whole.
bool readDiversions(const std::string& path, std::vector<std::uint64_t>& hashes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENOENT;
    }
    std::string text;
    const bool read = readAll(fd, text);
    ::close(fd);
    if (!read) {
        return false;
    }
    forEachLine(text, [&](std::string_view line, std::size_t index) {
        if (index % 3 == 1 && !line.empty()) {
            hashes.push_back(hashOf(keyOf(line)));
        }
    });
    return true;
}

// What tells that the database has changed: the inode, size and modification time of the
// info folder and of the diversions file, zeros for one that is missing. Sets racy when a
// modification time lies within a tick of now.
DpkgDatabase::Stamp stampOf(const std::string& admin, bool& racy) {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    DpkgDatabase::Stamp stamp{};
    std::int64_t* fields = stamp.data();
    for (const char* name : {"/info", "/diversions"}) {
        struct stat st {};
        if (::stat((admin + name).c_str(), &st) != 0) {
            fields += 4;
            continue;
        }
        *fields++ = static_cast<std::int64_t>(st.st_ino);
        *fields++ = st.st_size;
        *fields++ = st.st_mtim.tv_sec;
        *fields++ = st.st_mtim.tv_nsec;
        const std::int64_t age =
            (now.tv_sec - st.st_mtim.tv_sec) * 1'000'000'000 + (now.tv_nsec - st.st_mtim.tv_nsec);
        racy = racy || (age > -kRacyNanoseconds && age < kRacyNanoseconds);
    }
    return stamp;
}

}  // namespace

DpkgDatabase::DpkgDatabase(std::string adminFolder, std::chrono::nanoseconds recheckInterval)
    : admin_(std::move(adminFolder)), interval_(recheckInterval.count()), nextCheck_(kNever) {}

bool DpkgDatabase::owns(std::string_view path) {
    refreshIfDue();
    const std::uint64_t hash = hashOf(keyOf(path));
    std::shared_lock lock(tableLock_);
    return inDoubt_ || contains(table_, hash);
}

DpkgDatabase::Figures DpkgDatabase::figures() const {
    std::lock_guard lock(refreshing_);
    return figures_;
}

void DpkgDatabase::refreshIfDue() {
    const std::int64_t now = steadyNow();
    const std::int64_t due = nextCheck_.load(std::memory_order_acquire);
    if (now < due) {
        return;
    }
    std::unique_lock lock(refreshing_, std::defer_lock);
    if (due == kNever) {
        lock.lock();  // the first answer waits for the first read
    } else if (!lock.try_lock()) {
        return;  // another thread is checking; the table it has answers meanwhile
    }
    if (now < nextCheck_.load(std::memory_order_relaxed)) {
        return;  // checked by another thread since this call began
    }
    // The stamp is taken before the read, so that a change during the read shows next time.
    bool racy = false;
    const Stamp stamp = stampOf(admin_, racy);
    if (figures_.reads == 0 || racy_ || inDoubt_ || stamp != stamp_) {
        read();
    }
    stamp_ = stamp;
    racy_ = racy;
    nextCheck_.store(steadyNow() + interval_, std::memory_order_release);
}

void DpkgDatabase::read() {
    Figures figures;
    figures.reads = figures_.reads + 1;
    std::vector<std::uint64_t> hashes;
    // Both are read, whatever the first gives, so that the figures stay whole.
    const bool lists = readLists(admin_ + "/info", hashes, figures);
    const bool whole = readDiversions(admin_ + "/diversions", hashes) && lists;
    std::vector<std::uint64_t> table = tableOf(hashes, figures.distinct);
    {
        std::unique_lock lock(tableLock_);
        table_.swap(table);
        inDoubt_ = !whole;
    }
    figures_ = figures;
}

}  // namespace scourix
