// Measures the scan of one very deep folder chain through the core (headless window layer,
// real file system): its seconds and its peak resident memory. The scan runs in a child
// process with a time and a memory limit, so that a scan that takes too long, runs out of
// memory or crashes is reported as a failure line. Usage: deep_bench [levels [seconds
// [megabytes]]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DeepTree.h"
#include "HeadlessScan.h"
#include "SyntheticTree.h"
#include "Timing.h"
#include "WatchedChild.h"

using namespace scourix;
using namespace scourix::bench;

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::size_t levels = argc >= 2 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const double seconds = argc >= 3 ? std::atof(argv[2]) : 60;
    const double megabytes = argc >= 4 ? std::atof(argv[3]) : 1024;

    const std::string root = makeTempFolder("scourix-deep-");
    std::printf("Building %zu levels under %s (%s) ...\n", levels, root.c_str(),
                fileSystemName(root).c_str());
    DeepTreeStats stats;
    const double built = secondsOf([&] { stats = buildDeepTree(root, levels); });
    std::printf("Tree: %zu levels, %zu folders, %zu files, %zu junk; built in %.1f s\n",
                stats.levels, stats.folders, stats.files, stats.junk, built);

    std::printf("Scanning in a child process (limits: %.0f s, %.0f MB resident) ...\n", seconds,
                megabytes);
    const ChildOutcome outcome = runWatched(
        [&] {
            HeadlessScan scan(root);
            const double atStart = residentMb();
            std::size_t found = 0;
            const double t = secondsOf([&] { found = scan.run(); });
            char text[128];
            std::snprintf(text, sizeof text, "%.3f %zu %.1f", t, found, atStart);
            return std::string(text);
        },
        seconds, megabytes);

    bool same = true;  // a scan that fails is a figure; one that lists wrong results is not
    if (outcome.finished) {
        double scanSeconds = 0, atStart = 0;
        std::size_t found = 0;
        std::sscanf(outcome.report.c_str(), "%lf %zu %lf", &scanSeconds, &found, &atStart);
        std::printf(
            "  scan: %.2f s, %zu results (%zu expected), peak resident %.1f MB "
            "(%.1f MB before the scan)\n",
            scanSeconds, found, stats.junk, outcome.peakMb, atStart);
        if (found != stats.junk) {
            std::printf("  MISMATCH: the scan listed %zu results, the tree holds %zu junk files\n",
                        found, stats.junk);
            same = false;
        }
        std::printf("deep-tree levels %zu seconds %.2f peak-mb %.1f\n", stats.levels, scanSeconds,
                    outcome.peakMb);
    } else {
        std::printf("  FAILED after %.1f s: %s; peak resident %.1f MB\n", outcome.seconds,
                    outcome.report.c_str(), outcome.peakMb);
        std::printf("deep-tree levels %zu failed after-seconds %.1f peak-mb %.1f\n", stats.levels,
                    outcome.seconds, outcome.peakMb);
    }
    std::printf("  goal: under 10 s and under 100 MB at 100,000 levels\n");

    const double removed = secondsOf([&] { removeTree(root); });
    std::printf("Tree removed in %.1f s\n", removed);
    return same ? 0 : 1;
}
