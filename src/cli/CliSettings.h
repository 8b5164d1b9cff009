#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scourix {

enum class Command { None, Scan, Delete, Stash, Restore, Types };
enum class OutputFormat { Lines, Null, Json };

// Everything the command line was asked to do, as one plain value: the commands work from
// this alone and never see the options themselves.
struct CliSettings {
    Command command = Command::None;
    std::vector<std::string> places;
    std::vector<std::string> patterns;  // empty: the ticks of TypeList.ini
    bool linuxSet = false;              // --linux: the Linux set added to the patterns
    std::optional<std::string> from;    // "-" for standard input
    bool anyName = false;
    bool hidden = false;
    bool dryRun = false;
    bool yes = false;
    bool force = false;
    bool quiet = false;
    OutputFormat format = OutputFormat::Lines;
    std::optional<std::int64_t> olderThan;    // seconds
    std::optional<std::uint64_t> largerThan;  // bytes
    std::vector<std::string> excludes;
    std::vector<std::string> excludeFiles;
    bool oneFileSystem = false;
};

}  // namespace scourix
