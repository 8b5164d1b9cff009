#pragma once

#include <functional>

#include "base/MainState.h"

namespace scourix {

class SingleFileSearch {
public:
    // runScan runs the scan driver; setSelectAll sets chkSelAll as a user's change would.
    SingleFileSearch(MainState& state, std::function<void()> runScan,
                     std::function<void(int)> setSelectAll)
        : s_(state), runScan_(std::move(runScan)), setSelectAll_(std::move(setSelectAll)) {}

    void cmdFindFile_Click();

private:
    MainState& s_;
    std::function<void()> runScan_;
    std::function<void(int)> setSelectAll_;
};

}  // namespace scourix
