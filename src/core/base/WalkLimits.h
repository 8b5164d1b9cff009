#pragma once

#include <string>
#include <vector>

namespace scourix {

// Where a walk may go beyond the window's own rules. The window leaves all of it at its
// defaults; the command line sets it from its options.
struct WalkLimits {
    // Wildcards matched against a folder's whole path: a folder that matches is not
    // entered.
    std::vector<std::string> excludes;
    // Stay on the device of each location's own folder.
    bool oneFileSystem = false;
    // Every location counts as a volume of its own, whether or not it is a mount point: a
    // location below another is walked only from its own entry. Otherwise only the
    // system's volumes among the locations (all but the last, the temporary folder) do.
    bool locationsAreVolumes = false;
};

}  // namespace scourix
