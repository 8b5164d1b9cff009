#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scourix {

// The lengths a walk took of the files it listed, by their places in the result list, kept
// until the byte total is made.
struct WalkLengths {
    std::vector<std::uint64_t> lengths;  // FolderMatch::kNoLength where the look failed
    // The lengths before this place were taken before a box was answered: the user may
    // have changed the disk while it was open, so they are looked at again.
    std::size_t lookAgainBelow = 0;
};

}  // namespace scourix
