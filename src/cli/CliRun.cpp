#include "cli/CliRun.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "base/TextFormat.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "cli/TextFormatting.h"
#include "cli/Translation.h"
#include "fileops/ActOnListed.h"
#include "platform/VisibleText.h"
#include "types/BuiltInTypes.h"
#include "types/TypeListStore.h"

namespace scourix {

namespace {

// A text in its two English forms, the one chosen by a count.
struct Forms {
    const char* one;
    const char* many;
};

Forms verbDone(Command c) {
    return c == Command::Delete
               ? Forms{N_("Deleted %1 file, %2 in all."), N_("Deleted %1 files, %2 in all.")}
           : c == Command::Stash
               ? Forms{N_("Stashed %1 file, %2 in all (renamed to *.del)."),
                       N_("Stashed %1 files, %2 in all (renamed to *.del).")}
               : Forms{N_("Restored %1 file, %2 in all."), N_("Restored %1 files, %2 in all.")};
}

Forms verbWould(Command c) {
    return c == Command::Delete  ? Forms{N_("Would delete %1 file, %2 in all."),
                                        N_("Would delete %1 files, %2 in all.")}
           : c == Command::Stash ? Forms{N_("Would stash %1 file, %2 in all."),
                                         N_("Would stash %1 files, %2 in all.")}
                                 : Forms{N_("Would restore %1 file, %2 in all."),
                                         N_("Would restore %1 files, %2 in all.")};
}

std::string bytesText(std::uint64_t bytes) {
    return substitute(trn("%1 byte", "%1 bytes", bytes), {formatGrouped(bytes)});
}

// "Deleted 2 files, 1 byte in all.": each count with the form its number takes.
std::string summary(Forms text, std::uint64_t count, std::uint64_t bytes) {
    return substitute(trn(text.one, text.many, count), {formatGrouped(count), bytesText(bytes)});
}

}  // namespace

CliRun::CliRun(const CliSettings& settings, FileSystem& fs) : CliSession(settings, fs) {}

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
    loadPlaces();
    return s_.command == Command::Scan ? scan() : act();
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
        say(summary({N_("Found %1 file, %2 in all."), N_("Found %1 files, %2 in all.")}, listed_,
                    bytes));
    }
    return finish(0);
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
            say(summary(verbWould(command), candidates.size(), bytes));
        }
        return finish(0);
    }
    if (ask && !candidates.empty()) {
        const std::string question =
            substitute(trn("Delete %1 file (%2 in all)?", "Delete %1 files (%2 in all)?",
                           candidates.size()),
                       {std::to_string(candidates.size()), bytesText(bytes)}) +
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
        say(summary(verbDone(command), done, doneBytes));
    }
    if (failures_ > 0) {
        say(substitute(
            trn("%1 file or folder could not be read or acted on (listed above).",
                "%1 files or folders could not be read or acted on (listed above).", failures_),
            {formatGrouped(failures_)}));
    }
    return finish(0);
}

}  // namespace scourix
