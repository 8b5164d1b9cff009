#pragma once

#include <functional>
#include <string>

namespace scourix::bench {

struct ChildOutcome {
    bool finished = false;  // the work returned
    std::string report;     // what the work returned, or why the child failed
    double seconds = 0;     // until the child ended or was stopped
    double peakMb = 0;      // the child's peak resident size
};

// Runs work in a forked child that is stopped once it runs longer than `seconds` or grows
// beyond `megabytes` resident, so that a scan that takes too long, a crash or running out
// of memory becomes a failure report instead of the end of the benchmark.
ChildOutcome runWatched(const std::function<std::string()>& work, double seconds, double megabytes);

// This process's resident size now, in MB.
double residentMb();

}  // namespace scourix::bench
