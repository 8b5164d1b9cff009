#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/MainState.h"
#include "cli/CliSettings.h"
#include "cli/HeadlessFace.h"
#include "cli/MemoryList.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/StreamingList.h"
#include "fileops/ListedFileCheck.h"
#include "platform/posix/PosixClock.h"

namespace scourix {

// One run of a command: the window's engine driven from the settings, with the results
// written out as they come instead of shown.
class CliRun {
public:
    CliRun(const CliSettings& settings, FileSystem& fs);

    // The exit status.
    int run();

    static constexpr int kUsage = 2;

private:
    using Each = std::function<void(const std::string&, const FileFacts&)>;

    int types();
    int scan();
    int act();

    // The patterns of the run: the -p ones, else TypeList.ini's ticked ones.
    bool loadPatterns();
    bool loadExcludes();
    FileRules rules(bool forScan) const;
    // Walks the places and hands on each listed file that passes the filters.
    void walk(const ListedFileCheck& filters, const Each& each);
    // The paths of the --from list, absolute; false when it cannot be read.
    bool readList(std::vector<std::string>& paths);

    // Candidates for the action, with their facts, as the scan or the list gives them.
    bool gather(std::vector<std::pair<std::string, FileFacts>>& out);
    bool confirm(std::size_t count, std::uint64_t bytes, int& status);
    // Reports why a path is left; true when that is a failure of the run.
    void leftOut(const std::string& path, CheckOutcome why, const Error& error,
                 const FileFacts& facts);

    void failure(const std::string& path, const std::string& reason);
    void say(const std::string& text) const;
    int finish(int status) const;

    const CliSettings& s_;
    FileSystem& fs_;
    HeadlessFace face_;
    MemoryList drives_;
    MemoryList patterns_;
    StreamingList found_;
    PosixClock clock_;
    MainState state_;
    Output out_;
    Progress progress_;

    std::function<void(std::vector<std::string>&)> onBatch_;
    std::vector<std::string> places_;
    std::vector<std::string> excludes_;
    std::size_t failures_ = 0;
    std::size_t folders_ = 0;
    std::size_t listed_ = 0;
};

}  // namespace scourix
