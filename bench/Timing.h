#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace scourix::bench {

inline double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs each contender `rounds` times, interleaved so that a passing disturbance of the
// machine hits them all alike, and returns the medians in the order given. before, when
// given, runs untimed ahead of each timed run.
inline std::vector<double> interleavedMedians(const std::vector<std::function<void()>>& contenders,
                                              int rounds,
                                              const std::function<void()>& before = nullptr) {
    std::vector<std::vector<double>> times(contenders.size());
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t c = 0; c < contenders.size(); ++c) {
            if (before) {
                before();
            }
            times[c].push_back(secondsOf(contenders[c]));
        }
    }
    std::vector<double> medians;
    for (auto& t : times) {
        medians.push_back(median(t));
    }
    return medians;
}

}  // namespace scourix::bench
