#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/PatternSet.h"

namespace scourix {

// What a file must be for a command to act on it: the rules of a scan, put to one path at
// the moment of acting. A plain value, filled by whoever drives the command.
struct FileRules {
    std::vector<std::string> patterns;  // matched against the name; empty with anyName
    bool anyName = false;
    bool hidden = false;                      // names beginning with "." pass
    std::vector<std::string> excludes;        // matched against the whole path and each folder's
    std::optional<std::int64_t> olderThan;    // seconds
    std::optional<std::uint64_t> largerThan;  // bytes, strictly
    std::vector<std::string> places;          // the path lies below one of them, when any is given
    bool oneFileSystem = false;               // ... and on the device of that place
    bool stashed = false;                     // the name ends in ".del" (what restore takes back)
};

// Why a path does not pass.
enum class CheckOutcome {
    Pass,
    Gone,         // nothing there any more
    NotAbsolute,  // a path with "..", or empty: not one the scan writes
    NoPattern,    // the name matches no pattern
    Hidden,       // a hidden file without the hidden switch
    NotStashed,   // restore: the name has no ".del" to take off
    Excluded,     // the path or a folder above it matches an exclude
    Filtered,     // age or size
    OutsidePlaces,
    OtherDevice,   // below a place, but on another volume with one-file-system
    NotAFile,      // a folder, a device, a socket or a FIFO
    PackageOwned,  // a package installed it
    Unreachable,   // the look failed: the error says why (another user's link, ...)
};

class ListedFileCheck {
public:
    // now: seconds since the epoch, the moment the ages count from.
    ListedFileCheck(const FileSystem& fs, FileRules rules, std::int64_t now);

    // Puts every rule to the path (absolute, as the scan writes them); facts and error
    // tell what the look at it found.
    CheckOutcome check(const std::string& path, FileFacts& facts, Error& error) const;

    // The rules a scan leaves to whoever lists its matches: excludes on the file's own
    // path, age and size.
    bool filtersPass(const std::string& path, const FileFacts& facts) const;

    bool excluded(const std::string& path) const;

private:
    struct Place {
        std::string real;  // the place's real path, without a final "/"
        std::uint64_t device = 0;
    };

    CheckOutcome checkPlace(const std::string& path, const FileFacts& facts) const;
    // Whether the file at path is an ELF core dump, read in its folder without a link.
    bool isCoreDump(const std::string& path) const;

    const FileSystem& fs_;
    FileRules rules_;
    std::int64_t now_;
    std::optional<PatternSet> patterns_;
    std::optional<PatternSet> excludes_;
    std::vector<Place> places_;
};

// The name of a path: the part after the last "/".
std::string_view baseName(std::string_view path);

}  // namespace scourix
