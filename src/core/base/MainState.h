#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "base/WalkLimits.h"
#include "platform/Platform.h"

namespace scourix {

// The scan report's name, under sTempPath.
inline constexpr std::string_view kScanReportName = "查找结果信息";

// The main window's shared state, which every procedure works on.
struct MainState {
    explicit MainState(Platform platform) : ui(platform) {}

    Platform ui;

    // True while no scan runs and from the moment Stop is pressed.
    bool bStop = true;
    // The temporary folder ending in "/", set when a scan includes it; prefix of the
    // report files.
    std::string sTempPath;
    // The report's lists of searched locations and patterns, rebuilt after every walk.
    std::string sFindPlaces;
    std::string sFindTypes;

    // The report files this run wrote, with the file each one was: closing removes those
    // that are still that file, and nothing else.
    std::vector<std::pair<std::string, WrittenFilePtr>> reportsWritten;

    // Close requests are ignored until start-up has finished.
    bool startUpDone = false;
    // A scan's procedure is active (set from its start until it has unwound); closing is
    // refused during that whole time, even after Stop.
    bool scanActive = false;
    // Threads that read folders during a scan: 0 chooses one per core (at most 4); 1 reads
    // every folder on the window's own thread.
    unsigned scanThreads = 0;
    WalkLimits walkLimits;

    // How many threads a scan reads with, this one included.
    unsigned readerThreads() const {
        return scanThreads != 0 ? scanThreads
                                : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    }
};

}  // namespace scourix
