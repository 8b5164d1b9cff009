#pragma once

#include <functional>

#include "base/MainState.h"

namespace scourix {

class TempListing {
public:
    TempListing(MainState& state, std::function<void()> runScan)
        : s_(state), runScan_(std::move(runScan)) {}

    void mListtempfiles_Click();

private:
    MainState& s_;
    std::function<void()> runScan_;
};

}  // namespace scourix
