#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliSession.h"

namespace scourix {

// One run of a command: the results written out as they come instead of shown.
class CliRun : private CliSession {
public:
    CliRun(const CliSettings& settings, FileSystem& fs);

    // The exit status.
    int run();

    static constexpr int kUsage = 2;

private:
    int types();
    int scan();
    int act();

    // Candidates for the action, with their facts, as the scan or the list gives them.
    bool gather(std::vector<std::pair<std::string, FileFacts>>& out);
    // Reports why a path is left, as a failure of the run where it is one.
    void leftOut(const std::string& path, CheckOutcome why, const Error& error,
                 const FileFacts& facts);
};

}  // namespace scourix
