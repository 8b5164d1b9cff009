#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PackageDatabase.h"

namespace scourix {

// The dpkg database: the paths in <admin>/info/*.list, the targets of <admin>/diversions,
// each also under its merged-/usr spelling (/lib/x and /usr/lib/x are one file). Only
// 64-bit hashes of the paths are kept; a collision makes a file owned, the safe side.
// Read on the first answer and again whenever the database has changed, which is checked
// at most once per interval. A missing database owns nothing. One that cannot be read whole
// (a list that cannot be opened or read, or is too large) owns every path until it can:
// any file might be in the list missed, and the system's files are never offered.
class DpkgDatabase final : public PackageDatabase {
public:
    // What the last read found.
    struct Figures {
        std::size_t lists = 0;     // *.list files read
        std::size_t paths = 0;     // non-empty lines in them
        std::size_t distinct = 0;  // distinct hashes kept, diversions included
        std::size_t reads = 0;     // reads of the database so far
    };

    // A list or diversions file larger than this counts as one that cannot be read: the largest
    // list on a full desktop is a few MiB, and reading a huge (or sparse) file whole could exhaust
    // memory.
    static constexpr std::size_t kMaxFileBytes = 256u << 20;

    // The inode, size and modification time of the info folder and the diversions file.
    using Stamp = std::array<std::int64_t, 8>;

    explicit DpkgDatabase(std::string adminFolder = "/var/lib/dpkg",
                          std::chrono::nanoseconds recheckInterval = std::chrono::seconds(1));

    bool owns(std::string_view path) override;

    Figures figures() const;

private:
    void refreshIfDue();
    void read();

    const std::string admin_;
    const std::int64_t interval_;  // nanoseconds

    std::atomic<std::int64_t> nextCheck_;  // steady clock; before it, no check is due
    mutable std::mutex refreshing_;        // one reader of the database at a time
    // Under refreshing_: the stamp at the last check; a racy one may hide a change, so it
    // never matches.
    Stamp stamp_{};
    bool racy_ = false;
    Figures figures_;

    mutable std::shared_mutex tableLock_;
    // Open addressing, 0 for an empty slot; never full, so that a probe always ends.
    std::vector<std::uint64_t> table_ = std::vector<std::uint64_t>(16, 0);
    // The last read missed a list: every path is owned, and the next check reads again.
    bool inDoubt_ = false;
};

}  // namespace scourix
