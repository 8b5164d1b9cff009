#include "cli/Option.h"

#include <array>
#include <cctype>
#include <limits>
#include <stdexcept>

#include "cli/Translation.h"

namespace scourix {

namespace {

// A number followed by at most one unit letter; the unit's factor comes from units.
std::uint64_t numberWithUnit(const std::string& text, std::string_view units,
                             const std::uint64_t* factors, const char* what) {
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        ++digits;
    }
    std::uint64_t factor = 1;
    if (digits == 0 || digits + 1 < text.size()) {
        throw std::invalid_argument(what);
    }
    if (digits < text.size()) {
        const std::size_t unit = units.find(text[digits]);
        if (unit == std::string_view::npos) {
            throw std::invalid_argument(what);
        }
        factor = factors[unit];
    }
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (n > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) {
            throw std::invalid_argument(what);
        }
        n = n * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (n > std::numeric_limits<std::uint64_t>::max() / factor) {
        throw std::invalid_argument(what);
    }
    return n * factor;
}

void readExcludes(CliSettings& s, const std::string& v) {
    s.excludeFiles.push_back(v);
}

}  // namespace

std::int64_t parseAge(const std::string& text) {
    static constexpr std::uint64_t kFactors[] = {1, 60, 3600, 86400, 604800};
    const std::uint64_t seconds =
        numberWithUnit(text, "smhdw", kFactors, N_("not an age such as 30m, 12h or 7d"));
    if (seconds > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        throw std::invalid_argument(N_("not an age such as 30m, 12h or 7d"));
    }
    return static_cast<std::int64_t>(seconds);
}

std::uint64_t parseSize(const std::string& text) {
    static constexpr std::uint64_t kFactors[] = {1ull << 10, 1ull << 20, 1ull << 30};
    return numberWithUnit(text, "KMG", kFactors, N_("not a size such as 500K, 10M or 2G"));
}

std::span<const Option> Option::table() {
    static const std::array<Option, 18> kOptions{{
        {"pattern", 'p', ValueKind::Pattern, N_("PATTERN"),
         N_("List files whose name matches PATTERN instead of the ticked patterns"),
         N_("Match file names against PATTERN instead of the patterns ticked in TypeList.ini. "
            "Repeat it for several patterns. \"*\" stands for any run of characters and \"?\" "
            "for one; letters match without regard to case; a pattern ending in \".*\" also "
            "matches a name without a dot."),
         cmd::kScan | cmd::kDelete | cmd::kStash,
         [](CliSettings& s, const std::string& v) { s.patterns.push_back(v); }},
        {"linux", 0, ValueKind::None, nullptr, N_("Add the common Linux leftovers to the patterns"),
         N_("Add the patterns of the leftovers Linux tools write to the patterns in use (those "
            "of -p, or else the ticked ones): *~, #*#, *.orig, *.rej, *.pyc, *.pyo, core, "
            "core.*, .*.swp, .*.swo, *.part and *.crdownload. A file named core or core.* "
            "counts only when it is a core dump."),
         cmd::kScan | cmd::kDelete | cmd::kStash,
         [](CliSettings& s, const std::string&) { s.linuxSet = true; }},
        {"hidden", 0, ValueKind::None, nullptr, N_("Include hidden files (names beginning with .)"),
         N_("Include files whose name begins with a dot, as the window's switch does. Hidden "
            "folders are always walked. restore always takes hidden files."),
         cmd::kScan | cmd::kDelete | cmd::kStash,
         [](CliSettings& s, const std::string&) { s.hidden = true; }},
        {"from", 0, ValueKind::File, N_("FILE"),
         N_("Act only on the paths listed in FILE (- for standard input)"),
         N_("Act only on the paths listed in FILE, in the format scan writes: one escaped path "
            "a line, or NUL-separated bytes with -0. Each path is checked again at the moment "
            "of acting: it must still be a regular file or a link, match the patterns (unless "
            "--any-name), pass the hidden-file rule, the filters and the excludes, not belong "
            "to a package, be reached without another user's link, and lie below a PLACE when "
            "PLACEs are given. Relative paths start from the current folder. Any other line is "
            "reported and left."),
         cmd::kActions, [](CliSettings& s, const std::string& v) { s.from = v; }},
        {"any-name", 0, ValueKind::None, nullptr,
         N_("With --from, accept listed files whatever their name"),
         N_("With --from, accept a listed file whatever its name: the patterns are not "
            "checked. Every other check still applies."),
         cmd::kDelete | cmd::kStash, [](CliSettings& s, const std::string&) { s.anyName = true; }},
        {"dry-run", 'n', ValueKind::None, nullptr, N_("Show what would be done, change nothing"),
         N_("Print what would be acted on, in the chosen output format, and change nothing."),
         cmd::kActions, [](CliSettings& s, const std::string&) { s.dryRun = true; }},
        {"yes", 'y', ValueKind::None, nullptr, N_("Delete without asking"),
         N_("Do not ask before deleting. Without a terminal, delete refuses to run unless this "
            "is given."),
         cmd::kActions, [](CliSettings& s, const std::string&) { s.yes = true; }},
        {"force", 0, ValueKind::None, nullptr, N_("Delete read-only files too"),
         N_("Make read-only files writable and delete them. Without it they are left and "
            "reported."),
         cmd::kActions, [](CliSettings& s, const std::string&) { s.force = true; }},
        {"null", '0', ValueKind::None, nullptr,
         N_("Write and read paths as exact bytes ending in NUL"),
         N_("Write each path as its exact bytes followed by a NUL byte, and read --from lists "
            "the same way, as find -print0 and xargs -0 do."),
         cmd::kWalking, [](CliSettings& s, const std::string&) { s.format = OutputFormat::Null; }},
        {"json", 0, ValueKind::None, nullptr, N_("Write one JSON object a line"),
         N_("Write one JSON object a line: {\"path\", \"size\", \"mtime\"}; delete, stash and "
            "restore add \"done\" and \"error\". The path is the escaped text of the default "
            "output, so it is always valid UTF-8."),
         cmd::kAll, [](CliSettings& s, const std::string&) { s.format = OutputFormat::Json; }},
        {"quiet", 'q', ValueKind::None, nullptr, N_("No summary, no progress, no notes"),
         N_("Write no summary, no progress line and no notes on files left out to standard "
            "error. Failures are still reported."),
         cmd::kAll, [](CliSettings& s, const std::string&) { s.quiet = true; }},
        {"older-than", 0, ValueKind::Age, N_("AGE"),
         N_("Only files last modified more than AGE ago (30m, 12h, 7d, 2w)"),
         N_("Only files whose contents were last modified more than AGE ago. Units: s, m, h, "
            "d, w; 7d is seven days. For names ending in .del the change time counts, which "
            "the rename of a stash sets, so the age counts from the stash."),
         cmd::kWalking, [](CliSettings& s, const std::string& v) { s.olderThan = parseAge(v); }},
        {"larger-than", 0, ValueKind::Size, N_("SIZE"),
         N_("Only files strictly larger than SIZE (500K, 10M, 2G)"),
         N_("Only files strictly larger than SIZE bytes. Units: K, M, G, powers of 1024; 10M "
            "is 10 485 760 bytes."),
         cmd::kWalking, [](CliSettings& s, const std::string& v) { s.largerThan = parseSize(v); }},
        {"exclude", 'E', ValueKind::Pattern, N_("PATTERN"),
         N_("Leave out paths matching PATTERN; a matching folder is not entered"),
         N_("Leave out every file and folder whose whole path matches PATTERN, with the same "
            "wildcards as the patterns (\"*\" also spans \"/\"). A matching folder is not "
            "entered. Repeatable."),
         cmd::kWalking, [](CliSettings& s, const std::string& v) { s.excludes.push_back(v); }},
        {"exclude-from", 0, ValueKind::File, N_("FILE"),
         N_("Read exclude patterns from FILE, one a line"),
         N_("Read exclude patterns from FILE, one a line; empty lines and lines beginning with "
            "# are skipped, so that a keep-list can live in version control."),
         cmd::kWalking, readExcludes},
        {"one-file-system", 'x', ValueKind::None, nullptr,
         N_("Stay on the file system of each PLACE"),
         N_("Do not enter folders on another file system than the PLACE they are below, as du "
            "-x and find -xdev. Without it a volume mounted below a PLACE is entered, unless "
            "another PLACE names it."),
         cmd::kWalking, [](CliSettings& s, const std::string&) { s.oneFileSystem = true; }},
        {"version", 0, ValueKind::None, nullptr, N_("Show the version and exit"),
         N_("Print the program's name and version and exit."), cmd::kAll, nullptr},
        {"help", 'h', ValueKind::None, nullptr, N_("Show this help and exit"),
         N_("Print a summary of the command's options and exit."), cmd::kAll, nullptr},
    }};
    return kOptions;
}

std::span<const CommandInfo> CommandInfo::table() {
    static const std::array<CommandInfo, 5> kCommands{{
        {"scan", Command::Scan, cmd::kScan, N_("[OPTIONS] PLACE..."),
         N_("List what a scan finds below the places"),
         N_("Walk the PLACEs and list every file whose name matches a ticked pattern of "
            "TypeList.ini (or a --pattern), leaving out hidden files, system files, files a "
            "package installed, and links to folders. A summary of the count and the bytes "
            "goes to standard error.")},
        {"delete", Command::Delete, cmd::kDelete, N_("[OPTIONS] PLACE... | --from FILE"),
         N_("Delete for good what a scan finds, or the files of a list"),
         N_("Delete for good what a scan of the PLACEs finds, or the files listed in --from "
            "that still pass every check. Asks on the terminal first (\"Delete N files (X "
            "bytes in all)?\"); without a terminal it refuses unless --yes is given.")},
        {"stash", Command::Stash, cmd::kStash, N_("[OPTIONS] PLACE... | --from FILE"),
         N_("Rename what a scan finds to name.del, to undo with restore"),
         N_("The temporary deletion: rename each file to its name with .del appended, never "
            "replacing a file. Names already ending in .del are left alone; read-only files "
            "are renamed too. Each new name is printed in the list format, so that restore "
            "--from undoes exactly those.")},
        {"restore", Command::Restore, cmd::kRestore, N_("[OPTIONS] PLACE... | --from FILE"),
         N_("Rename name.del files back to their names"),
         N_("Take every *.del file below the PLACEs (hidden ones included), or those listed in "
            "--from, and rename each back to its name without .del, never replacing a file "
            "that has taken the name meanwhile (that one is reported and left).")},
        {"types", Command::Types, cmd::kTypes, N_("[OPTIONS]"),
         N_("Show the pattern list with its ticks"),
         N_("Print the patterns of TypeList.ini (the list the window reads and writes), each "
            "after [x] when ticked and [ ] when not.")},
    }};
    return kCommands;
}

}  // namespace scourix
