#pragma once

#include <cstdint>

#include "base/MainState.h"
#include "scan/WalkLengths.h"

namespace scourix {

// The byte total of the result list and the check that drops entries whose files have
// gone; both run at the end of every scan.
class ResultChecks {
public:
    explicit ResultChecks(MainState& state) : s_(state) {}

    // Adds up the lengths of all listed files in 64 bits. A length that cannot be read
    // is offered with Abort (stop adding), Retry and Ignore (leave the file out).
    std::uint64_t FilesSize() { return FilesSize({}); }
    // The same with the lengths the walk took of the files it listed (when they are for
    // this list): only a look that failed, and every one taken before a box, are made
    // again. The lengths' memory is freed on return.
    std::uint64_t FilesSize(WalkLengths taken);

    // Removes every entry whose file is no longer found among ordinary and hidden files;
    // folders and system files count as gone. An entry whose lookup fails for another
    // reason (a volume that has gone away) is kept.
    void CheckFiles();

private:
    MainState& s_;
};

}  // namespace scourix
