#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace scourix {

// The line on standard error that shows a scan going on: folders walked, files found and
// the current folder, at most ten times a second, and only on a terminal.
class Progress {
public:
    explicit Progress(bool wanted);

    void update(std::size_t folders, std::size_t files, const std::string& folder);
    // Removes the line, so that what follows starts on a clean one.
    void clear();

private:
    bool on_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace scourix
