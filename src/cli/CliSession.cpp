#include "cli/CliSession.h"

#include <unistd.h>

#include <algorithm>
#include <unordered_set>

#include "cli/ListFile.h"
#include "cli/Signals.h"
#include "cli/Translation.h"
#include "fileops/ActOnListed.h"
#include "platform/Dialogs.h"
#include "platform/VisibleText.h"
#include "scan/Walker.h"
#include "types/BuiltInTypes.h"
#include "types/LinuxTypes.h"
#include "types/TypeListStore.h"

namespace scourix {

CliSession::CliSession(const CliSettings& settings, FileSystem& fs)
    : s_(settings),
      fs_(fs),
      found_([this](std::vector<std::string>& batch) { onBatch_(batch); }),
      state_(Platform{drives_, patterns_, found_, face_, face_, face_, fs, face_, clock_}),
      out_(settings.format),
      progress_(!settings.quiet) {}

void CliSession::say(const std::string& text) const {
    const std::string line = text + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

void CliSession::failure(const std::string& path, const std::string& reason) {
    progress_.clear();
    ++failures_;
    say(std::to_string(failures_) + ". " + visibleText(path) + " [" + reason + "]");
}

int CliSession::finish(int status) const {
    if (Signals::received() != 0) {
        return Signals::exitStatus();
    }
    return status != 0 ? status : failures_ > 0 ? 1 : 0;
}

bool CliSession::loadPatterns() {
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

bool CliSession::loadExcludes() {
    excludes_ = s_.excludes;
    for (const std::string& file : s_.excludeFiles) {
        const Result<std::string> text = ListFile::readAll(file);
        if (!text) {
            say("scourix-cli: " + visibleText(file) + ": " + text.error().description);
            return false;
        }
        for (std::string& line : ListFile::patterns(text.value())) {
            excludes_.push_back(std::move(line));
        }
    }
    return true;
}

void CliSession::loadPlaces() {
    // Absolute and without "." or empty components, as every listed path then is.
    const std::string here = fs_.currentFolder();
    for (const std::string& place : s_.places) {
        places_.push_back(ListFile::tidyPath(place.starts_with('/') ? place : here + "/" + place));
    }
}

FileRules CliSession::rules(bool forScan) const {
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

void CliSession::walk(const ListedFileCheck& filters, const Each& each) {
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

bool CliSession::readList(std::vector<std::string>& paths) {
    const Result<std::string> text = ListFile::readAll(*s_.from);
    if (!text) {
        say("scourix-cli: " + visibleText(*s_.from) + ": " + text.error().description);
        return false;
    }
    paths = ListFile::paths(
        text.value(), s_.format == OutputFormat::Null, fs_.currentFolder(),
        [this](const std::string& entry, const std::string& reason) { failure(entry, reason); });
    return true;
}

}  // namespace scourix
