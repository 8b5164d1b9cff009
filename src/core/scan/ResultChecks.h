#pragma once

#include <cstdint>

#include "base/MainState.h"

namespace scourix {

// The byte total of the result list and the check that drops entries whose files have
// gone; both run at the end of every scan.
class ResultChecks {
public:
    explicit ResultChecks(MainState& state) : s_(state) {}

    // Adds up the lengths of all listed files in 64 bits. A length that cannot be read
    // is offered with Abort (stop adding), Retry and Ignore (leave the file out).
    std::uint64_t FilesSize();

    // Removes every entry whose file is no longer found among ordinary and hidden files;
    // folders and system files count as gone. An entry whose lookup fails for another
    // reason (a volume that has gone away) is kept.
    void CheckFiles();

private:
    MainState& s_;
};

}  // namespace scourix
