#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

namespace scourix::bench {

// The longest the window would go without handling an event during one command: from its
// start to the first pass of the event loop, between passes, and from the last to its end.
class EventGaps {
public:
    void start() {
        longest_ = between_ = tail_ = Clock::duration::zero();
        passes_ = 0;
        last_ = Clock::now();
    }
    void pass() {
        const auto now = Clock::now();
        between_ = std::max(between_, now - last_);
        longest_ = between_;
        last_ = now;
        ++passes_;
    }
    void stop() {
        tail_ = Clock::now() - last_;
        longest_ = std::max(longest_, tail_);
    }

    double longestMs() const { return ms(longest_); }
    // The same without the stretch after the last pass.
    double betweenPassesMs() const { return ms(between_); }
    // From the last pass to the command's end: the summary's work after the walk.
    double tailMs() const { return ms(tail_); }
    std::size_t passes() const { return passes_; }
    // From the last pass until now.
    double sinceLastPassMs() const { return ms(Clock::now() - last_); }

private:
    using Clock = std::chrono::steady_clock;
    static double ms(Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    }

    Clock::time_point last_{};
    Clock::duration longest_{};
    Clock::duration between_{};
    Clock::duration tail_{};
    std::size_t passes_ = 0;
};

}  // namespace scourix::bench
