#pragma once

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
// at most once per interval. A missing or unreadable database owns nothing.
class DpkgDatabase final : public PackageDatabase {
public:
    // What the last read found.
    struct Figures {
        std::size_t lists = 0;     // *.list files read
        std::size_t paths = 0;     // non-empty lines in them
        std::size_t distinct = 0;  // distinct hashes kept, diversions included
        std::size_t reads = 0;     // reads of the database so far
    };

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
    // Under refreshing_: the state of the info folder and the diversions file at the last
    // check, empty before the first; a racy stamp may hide a change and never matches.
    std::vector<std::int64_t> stamp_;
    bool racy_ = false;
    Figures figures_;

    mutable std::shared_mutex tableLock_;
    std::vector<std::uint64_t> table_;  // open addressing, 0 for an empty slot
};

}  // namespace scourix
