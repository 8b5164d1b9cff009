#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/MainState.h"
#include "scan/FolderReader.h"
#include "scan/PatternSet.h"
#include "scan/WalkLengths.h"
#include "scan/WalkNode.h"

namespace scourix {

class FolderQueue;

// Walks folder trees and appends every file whose name matches a pattern of lstPat to
// lstFound. One read of each folder serves all patterns. Folders may be read ahead by
// other threads; everything the user sees happens on this one, in walk order.
class Walker {
public:
    explicit Walker(MainState& state) : s_(state) {}

    // Prepares a scan: compiles the patterns that lstPat holds now, sets which files are
    // left out and finds the volumes of the location list.
    void begin(bool skipHidden, bool skipSystem);

    // Walks path and everything below it: a folder's own files are listed (grouped by
    // pattern in lstPat's order) before its subfolders are entered.
    void Dirs(const std::string& path);

    // Answers a folder that cannot be read in place of the Abort/Retry/Ignore box, when
    // set: given the failure and the folder's path, returns the box's answer.
    std::function<int(const Error&, const std::string&)> onFailure;
    // The lengths of the files listed since begin(), for the byte total; the walker keeps
    // none after.
    WalkLengths takeLengths() { return std::exchange(lengths_, {}); }

private:
    // Shows the folder and lists its files; false when it is not walked.
    bool visit(FolderQueue& queue, WalkNode& node, const std::string& typed);
    void listMatches(const WalkNode& node);
    bool excluded(const std::string& path) const;
    int askAboutFailure(const Error& error, const std::string& path);

    MainState& s_;
    std::optional<PatternSet> patterns_;
    ReadRules rules_;
    // The path of the folder being visited, and where each level's part of it ends.
    std::string path_;
    std::vector<std::size_t> levelEnds_;
    // The location's real path, when system files are left out: the package database
    // knows files by their real paths.
    std::string rootRealPath_;
    // The walk limits' excludes, compiled; null when there are none.
    std::optional<PatternSet> excludes_;
    std::uint64_t rootDevice_ = 0;
    WalkLengths lengths_;
};

}  // namespace scourix
