#pragma once

#include "app/MainState.h"

namespace scourix {

// The result list lstFound: clicks, the tick box above it and the tick commands.
class ResultList {
public:
    explicit ResultList(MainState& state) : s_(state) {}

    // Sets the value of chkSelAll from code; a change runs its click, as a user's would.
    void setSelectAll(int value);
    // Ticks or unticks every entry to match chkSelAll.
    void chkSelAll_Click();

private:
    MainState& s_;
};

}  // namespace scourix
