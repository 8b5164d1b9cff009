#pragma once

#include <functional>
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

// What every command of the command line works with: the window's engine driven from the
// settings, the run's patterns, places and excludes, and the reports on stderr.
class CliSession {
public:
    CliSession(const CliSettings& settings, FileSystem& fs);

protected:
    using Each = std::function<void(const std::string&, const FileFacts&)>;

    // The patterns of the run: the -p ones, else TypeList.ini's ticked ones.
    bool loadPatterns();
    bool loadExcludes();
    // The places given, absolute and tidied as every listed path is.
    void loadPlaces();
    FileRules rules(bool forScan) const;
    // Walks the places and hands on each listed file that passes the filters.
    void walk(const ListedFileCheck& filters, const Each& each);
    // The paths of the --from list, absolute; false when it cannot be read.
    bool readList(std::vector<std::string>& paths);

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
