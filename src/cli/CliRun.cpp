#include "cli/CliRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <nlohmann/json.hpp>
#include <unordered_set>

#include "base/TextFormat.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "cli/TextFormatting.h"
#include "cli/Translation.h"
#include "fileops/ActOnListed.h"
#include "platform/Dialogs.h"
#include "platform/VisibleText.h"
#include "scan/Walker.h"
#include "types/BuiltInTypes.h"
#include "types/LinuxTypes.h"
#include "types/TypeListStore.h"

namespace scourix {

namespace {

// The whole of a file (or of standard input) as bytes: the list and exclude formats are
// bytes, not the window's GB18030 texts.
Result<std::string> readAll(const std::string& path) {
    const int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errorOf(errno);
    }
    std::string text;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR && Signals::received() == 0) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : 0;
            if (fd != STDIN_FILENO) {
                ::close(fd);
            }
            if (error != 0) {
                return errorOf(error);
            }
            return text;
        }
        text.append(block, static_cast<std::size_t>(n));
    }
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// "./a//b/" and the like as the walk writes paths: no empty or "." components.
std::string tidyPath(const std::string& path) {
    std::string out;
    for (const std::string& part : splitOn(path, '/')) {
        if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
    }
    return out.empty() ? "/" : out;
}

const char* verbDone(Command c) {
    return c == Command::Delete  ? N_("Deleted %1 files, %2 bytes in all.")
           : c == Command::Stash ? N_("Stashed %1 files, %2 bytes in all (renamed to *.del).")
                                 : N_("Restored %1 files, %2 bytes in all.");
}

const char* verbWould(Command c) {
    return c == Command::Delete  ? N_("Would delete %1 files, %2 bytes in all.")
           : c == Command::Stash ? N_("Would stash %1 files, %2 bytes in all.")
                                 : N_("Would restore %1 files, %2 bytes in all.");
}

}  // namespace

CliRun::CliRun(const CliSettings& settings, FileSystem& fs)
    : s_(settings),
      fs_(fs),
      found_([this](std::vector<std::string>& batch) { onBatch_(batch); }),
      state_(Platform{drives_, patterns_, found_, face_, face_, face_, fs, face_, clock_}),
      out_(settings.format),
      progress_(!settings.quiet) {}

int CliRun::run() {
    if (s_.command == Command::Types) {
        return types();
    }
    if (s_.places.empty() && !s_.from) {
        say(std::string("scourix-cli: ") + tr("no PLACE given (see --help)"));
        return kUsage;
    }
    if (!loadExcludes() || !loadPatterns()) {
        return kUsage;
    }
    // Absolute and without "." or empty components, as every listed path then is.
    const std::string here = fs_.currentFolder();
    for (const std::string& place : s_.places) {
        places_.push_back(tidyPath(place.starts_with('/') ? place : here + "/" + place));
    }
    return s_.command == Command::Scan ? scan() : act();
}

void CliRun::say(const std::string& text) const {
    const std::string line = text + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

void CliRun::failure(const std::string& path, const std::string& reason) {
    progress_.clear();
    ++failures_;
    say(std::to_string(failures_) + ". " + visibleText(path) + " [" + reason + "]");
}

int CliRun::finish(int status) const {
    if (Signals::received() != 0) {
        return Signals::exitStatus();
    }
    return status != 0 ? status : failures_ > 0 ? 1 : 0;
}

bool CliRun::loadPatterns() {
    std::vector<std::string> wanted = s_.patterns;
    if (s_.command == Command::Restore) {
        wanted = {"*" + std::string(kStashSuffix)};
    } else if (wanted.empty()) {
        for (std::string_view type : builtInTypes()) {
            patterns_.append(std::string(type));
        }
        TypeListStore(state_).initialise();
        wanted = patterns_.tickedTexts();
        if (wanted.empty() && !s_.linuxSet) {
            say(std::string("scourix-cli: ") +
                tr("no pattern is ticked in TypeList.ini; give one with -p"));
            return false;
        }
    }
    if (s_.linuxSet && s_.command != Command::Restore) {
        for (std::string_view type : linuxTypes()) {
            if (std::find(wanted.begin(), wanted.end(), type) == wanted.end()) {
                wanted.emplace_back(type);
            }
        }
    }
    patterns_.clear();
    patterns_.appendMany(wanted);
    return true;
}

bool CliRun::loadExcludes() {
    excludes_ = s_.excludes;
    for (const std::string& file : s_.excludeFiles) {
        const Result<std::string> text = readAll(file);
        if (!text) {
            say("scourix-cli: " + visibleText(file) + ": " + text.error().description);
            return false;
        }
        for (std::string line : splitOn(text.value(), '\n')) {
            if (line.ends_with('\r')) {
                line.pop_back();
            }
            if (!line.empty() && line.front() != '#') {
                excludes_.push_back(line);
            }
        }
    }
    return true;
}

FileRules CliRun::rules(bool forScan) const {
    FileRules r;
    r.excludes = excludes_;
    r.olderThan = s_.olderThan;
    r.largerThan = s_.largerThan;
    if (forScan) {
        r.anyName = true;
        r.hidden = true;
        return r;
    }
    const bool restore = s_.command == Command::Restore;
    for (std::size_t i = 0; i < patterns_.count(); ++i) {
        r.patterns.push_back(patterns_.text(i));
    }
    r.anyName = s_.anyName;
    r.hidden = s_.hidden || restore;
    r.stashed = restore;
    r.places = places_;
    r.oneFileSystem = s_.oneFileSystem;
    return r;
}

int CliRun::types() {
    for (std::string_view type : builtInTypes()) {
        patterns_.append(std::string(type));
    }
    TypeListStore(state_).initialise();
    for (std::size_t i = 0; i < patterns_.count(); ++i) {
        if (s_.format == OutputFormat::Json) {
            out_.line(nlohmann::json{{"pattern", visibleText(patterns_.text(i))},
                                     {"ticked", patterns_.checked(i)}}
                          .dump());
        } else {
            out_.line((patterns_.checked(i) ? "[x] " : "[ ] ") + visibleText(patterns_.text(i)));
        }
    }
    return finish(0);
}

void CliRun::walk(const ListedFileCheck& filters, const Each& each) {
    WalkLimits& limits = state_.walkLimits;
    limits.excludes = excludes_;
    limits.oneFileSystem = s_.oneFileSystem;
    limits.locationsAreVolumes = true;
    drives_.clear();
    std::unordered_set<std::string> seen;
    for (const std::string& place : places_) {
        if (seen.insert(place).second) {
            drives_.append(place);
            drives_.setChecked(drives_.count() - 1, true);
        }
    }

    Walker walker(state_);
    walker.onFailure = [this](const Error& error, const std::string& path) {
        failure(path, error.description);
        return mb::kIdIgnore;
    };
    face_.onFolder = [this](const std::string& folder) {
        progress_.update(++folders_, listed_, folder);
    };
    face_.onEvents = [this] {
        if (Signals::received() != 0) {
            state_.bStop = true;
        }
    };
    std::unordered_set<std::string_view> inBatch;
    std::vector<std::string_view> views;
    std::vector<Result<FileFacts>> facts;
    // The walk took each file's length as it read the folder: a look of its own is needed
    // only for the times, and where the walk's look failed.
    const bool times = s_.format == OutputFormat::Json || s_.olderThan.has_value();
    onBatch_ = [&](std::vector<std::string>& batch) {
        const WalkLengths taken = walker.takeLengths();
        // A file that matches two patterns comes once for each: it is listed once.
        inBatch.clear();
        views.clear();
        std::vector<std::uint64_t> lengths;
        for (std::size_t i = 0; i < batch.size(); ++i) {
            if (inBatch.insert(batch[i]).second) {
                views.push_back(batch[i]);
                lengths.push_back(i < taken.lengths.size() ? taken.lengths[i]
                                                           : FolderMatch::kNoLength);
            }
        }
        const bool look = times || std::find(lengths.begin(), lengths.end(),
                                             FolderMatch::kNoLength) != lengths.end();
        if (look) {
            fs_.inspect(views, false, facts);
        }
        for (std::size_t i = 0; i < views.size(); ++i) {
            const std::string path(views[i]);
            FileFacts known;
            known.length = lengths[i];
            const Result<FileFacts>& fact = look ? facts[i] : Result<FileFacts>(known);
            if (!fact) {
                // Gone since the folder was read: not there to list.
                if (fact.error().code != ENOENT) {
                    failure(path, fact.error().description);
                }
                continue;
            }
            if (filters.filtersPass(path, fact.value())) {
                ++listed_;
                each(path, fact.value());
            }
        }
    };
    state_.bStop = false;
    walker.begin(!(s_.hidden || s_.command == Command::Restore), true);
    for (std::size_t i = 0; i < drives_.count() && !state_.bStop; ++i) {
        walker.Dirs(drives_.text(i));
    }
    state_.bStop = true;
    progress_.clear();
}

int CliRun::scan() {
    const ListedFileCheck filters(fs_, rules(true), std::time(nullptr));
    std::uint64_t bytes = 0;
    walk(filters, [&](const std::string& path, const FileFacts& facts) {
        bytes += facts.length;
        out_.listed(path, facts);
    });
    out_.flush();
    if (!s_.quiet) {
        if (Signals::received() != 0) {
            say(tr("Interrupted."));
        }
        say(substitute(tr("Found %1 files, %2 bytes in all."),
                       {formatGrouped(listed_), formatGrouped(bytes)}));
    }
    return finish(0);
}

bool CliRun::readList(std::vector<std::string>& paths) {
    const Result<std::string> text = readAll(*s_.from);
    if (!text) {
        say("scourix-cli: " + visibleText(*s_.from) + ": " + text.error().description);
        return false;
    }
    const bool nul = s_.format == OutputFormat::Null;
    const std::string here = fs_.currentFolder();
    for (std::string entry : splitOn(text.value(), nul ? '\0' : '\n')) {
        if (!nul) {
            // A line edited on another system may end in CR, which the format never
            // writes bare.
            if (entry.ends_with('\r')) {
                entry.pop_back();
            }
            if (entry.empty()) {
                continue;
            }
            // Only what the scan writes for some name stands for that name.
            std::optional<std::string> decoded = decodeVisible(entry);
            if (!decoded) {
                failure(entry, tr("not a line of the list format"));
                continue;
            }
            entry = std::move(*decoded);
        }
        if (entry.empty()) {
            continue;
        }
        // A NUL cannot be part of a name: the line names no file.
        if (entry.find('\0') != std::string::npos) {
            failure(entry, tr("not a path the list format holds"));
            continue;
        }
        paths.push_back(tidyPath(entry.front() == '/' ? entry : here + "/" + entry));
        // "x/.." tidies to a path the checks refuse; the original words are kept in it.
    }
    return true;
}

void CliRun::leftOut(const std::string& path, CheckOutcome why, const Error& error,
                     const FileFacts& facts) {
    const char* reason = nullptr;
    bool fault = false;
    switch (why) {
        case CheckOutcome::Pass:
            return;
        case CheckOutcome::Gone:
            if (s_.format == OutputFormat::Json) {
                out_.acted(path, facts, false, error.description, {});
            }
            return;
        case CheckOutcome::NoPattern:
            reason = N_("matches no pattern");
            break;
        case CheckOutcome::Hidden:
            reason = N_("a hidden file (see --hidden)");
            break;
        case CheckOutcome::NotStashed:
            reason = N_("the name does not end in .del");
            break;
        case CheckOutcome::Excluded:
            reason = N_("excluded");
            break;
        case CheckOutcome::Filtered:
            reason = N_("left out by --older-than or --larger-than");
            break;
        case CheckOutcome::OutsidePlaces:
            reason = N_("not below any PLACE given");
            break;
        case CheckOutcome::OtherDevice:
            reason = N_("on another file system (-x)");
            break;
        case CheckOutcome::NotAbsolute:
            reason = N_("not a path the list format holds");
            fault = true;
            break;
        case CheckOutcome::NotAFile:
            reason = N_("not a regular file or a link");
            fault = true;
            break;
        case CheckOutcome::PackageOwned:
            reason = N_("installed by a package");
            fault = true;
            break;
        case CheckOutcome::Unreachable:
            fault = true;
            break;
    }
    const std::string text = reason != nullptr ? tr(reason) : error.description;
    if (s_.format == OutputFormat::Json) {
        out_.acted(path, facts, false, text, {});
    }
    if (fault) {
        failure(path, text);
    } else if (!s_.quiet) {
        progress_.clear();
        say(substitute(tr("left: %1 (%2)"), {visibleText(path), text}));
    }
}

bool CliRun::gather(std::vector<std::pair<std::string, FileFacts>>& out) {
    const bool stash = s_.command == Command::Stash;
    if (!s_.from) {
        const ListedFileCheck filters(fs_, rules(true), std::time(nullptr));
        walk(filters, [&](const std::string& path, const FileFacts& facts) {
            // A stash already taken is not taken again.
            if (!(stash && baseName(path).ends_with(kStashSuffix))) {
                out.emplace_back(path, facts);
            }
        });
        return true;
    }
    std::vector<std::string> paths;
    if (!readList(paths)) {
        return false;
    }
    const ListedFileCheck check(fs_, rules(false), std::time(nullptr));
    for (const std::string& path : paths) {
        if (Signals::received() != 0) {
            break;
        }
        FileFacts facts;
        Error error;
        const CheckOutcome outcome = check.check(path, facts, error);
        if (outcome != CheckOutcome::Pass) {
            leftOut(path, outcome, error, facts);
        } else if (stash && baseName(path).ends_with(kStashSuffix)) {
            if (!s_.quiet) {
                say(substitute(tr("left: %1 (%2)"), {visibleText(path), tr("already stashed")}));
            }
        } else {
            out.emplace_back(path, facts);
        }
    }
    return true;
}

int CliRun::act() {
    const Command command = s_.command;
    // Asking needs a terminal; without one, refuse before anything is walked.
    TerminalPrompt prompt;
    const bool ask = command == Command::Delete && !s_.yes && !s_.dryRun;
    if (ask && !prompt.open()) {
        say(std::string("scourix-cli: ") +
            tr("refusing to delete without a terminal to ask on; give -y to delete anyway"));
        return kUsage;
    }
    std::vector<std::pair<std::string, FileFacts>> candidates;
    if (!gather(candidates)) {
        return kUsage;
    }
    std::uint64_t bytes = 0;
    for (const auto& [path, facts] : candidates) {
        bytes += facts.length;
    }
    if (Signals::received() != 0) {
        return finish(0);
    }
    if (s_.dryRun) {
        for (const auto& [path, facts] : candidates) {
            out_.listed(path, facts);
        }
        out_.flush();
        if (!s_.quiet) {
            say(substitute(tr(verbWould(command)),
                           {formatGrouped(candidates.size()), formatGrouped(bytes)}));
        }
        return finish(0);
    }
    if (ask && !candidates.empty()) {
        const std::string question =
            substitute(tr("Delete %1 files (%2 bytes in all)?"),
                       {std::to_string(candidates.size()), formatGrouped(bytes)}) +
            " [y/N] ";
        const TerminalPrompt::Answer answer = prompt.ask(question);
        if (answer == TerminalPrompt::Answer::Interrupted) {
            return finish(0);
        }
        if (answer == TerminalPrompt::Answer::No) {
            say(tr("Nothing deleted."));
            return 1;
        }
    }

    const ListedFileCheck check(fs_, rules(false), std::time(nullptr));
    std::size_t done = 0;
    std::uint64_t doneBytes = 0;
    {
        const HeldFolders held(fs_);
        // A file a running program holds open is refused, as the window does: the look at
        // every process's open files is taken once, here.
        const OpenFilesRefused inUse(fs_);
        for (const auto& candidate : candidates) {
            if (Signals::received() != 0) {
                break;
            }
            const std::string& path = candidate.first;
            // Checked again now: the file may have changed since it was listed.
            FileFacts facts;
            Error error;
            const CheckOutcome outcome = check.check(path, facts, error);
            if (outcome != CheckOutcome::Pass) {
                leftOut(path, outcome, error, facts);
                continue;
            }
            if (command == Command::Delete && s_.force) {
                (void)fs_.resetAttributes(path);
            }
            const Result<bool> acted = command == Command::Restore
                                           ? restoreStashed(fs_, path)
                                           : actOnListed(fs_, path, command == Command::Stash);
            if (!acted) {
                failure(path, acted.error().description);
                out_.acted(path, facts, false, acted.error().description, {});
                continue;
            }
            if (!acted.value()) {
                continue;  // gone meanwhile: nothing left to do
            }
            ++done;
            doneBytes += facts.length;
            const std::string shown = command == Command::Delete ? path
                                      : command == Command::Stash
                                          ? path + std::string(kStashSuffix)
                                          : path.substr(0, path.size() - kStashSuffix.size());
            out_.acted(path, facts, true, {}, shown);
        }
    }
    out_.flush();
    if (!s_.quiet || Signals::received() != 0) {
        if (Signals::received() != 0) {
            say(tr("Interrupted."));
        }
        say(substitute(tr(verbDone(command)), {formatGrouped(done), formatGrouped(doneBytes)}));
    }
    if (failures_ > 0) {
        say(substitute(tr("%1 files or folders could not be read or acted on (listed above)."),
                       {formatGrouped(failures_)}));
    }
    return finish(0);
}

}  // namespace scourix
