#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/MainState.h"
#include "scan/PatternSet.h"

namespace scourix {

// Walks folder trees and appends every file whose name matches a pattern of lstPat to
// lstFound. One read of each folder serves all patterns.
class Walker {
public:
    explicit Walker(MainState& state) : s_(state) {}

    // Prepares a scan: compiles the patterns that lstPat holds now and sets which files
    // are left out.
    void begin(bool skipHidden, bool skipSystem);

    // Walks path and everything below it: a folder's own files are listed (grouped by
    // pattern in lstPat's order) before its subfolders are entered.
    void Dirs(const std::string& path);

private:
    using FolderId = std::pair<std::uint64_t, std::uint64_t>;

    bool listMatches(const FolderListing& listing, const std::string& prefix);
    int askAboutFailure(const Error& error, const std::string& path);

    MainState& s_;
    std::optional<PatternSet> patterns_;
    bool skipHidden_ = true;
    bool skipSystem_ = true;
    // The folders on the current path: a folder met again (through a bind mount) is not
    // entered, so every walk ends.
    std::vector<FolderId> onPath_;
    // Scratch space reused across folders.
    std::vector<std::size_t> matched_;
    std::vector<std::vector<std::string>> byPattern_;
};

}  // namespace scourix
