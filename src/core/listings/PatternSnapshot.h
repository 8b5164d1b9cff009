#pragma once

#include <string>
#include <vector>

#include "platform/CheckList.h"

namespace scourix {

// The texts and ticks of a pattern list, taken before a listing puts its own pattern in and
// put back afterwards, in the same order.
class PatternSnapshot {
public:
    explicit PatternSnapshot(const CheckList& list);

    // Replaces the list's content with the saved entries.
    void restore(CheckList& list) const;

private:
    std::vector<std::string> texts_;
    std::vector<bool> ticks_;
};

}  // namespace scourix
