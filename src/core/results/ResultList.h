#pragma once

#include <functional>
#include <utility>

#include "base/MainState.h"

namespace scourix {

// The result list lstFound: clicks, the right-click menu, the tick box above it and the
// tick commands. Open, properties and rename act on the current entry; the ticks choose
// the files for the bulk commands.
class ResultList {
public:
    // showDescriptions runs the type descriptions, which a double click shows.
    ResultList(MainState& state, std::function<void()> showDescriptions)
        : s_(state), showDescriptions_(std::move(showDescriptions)) {}

    void lstFound_Click();
    void lstFound_MouseDown(int button, int shift);
    void lstFound_MouseUp(int button, int shift);
    void lstFound_DblClick();

    // Sets the value of chkSelAll from code; a change runs its click, as a user's would.
    void setSelectAll(int value);
    // Ticks or unticks every entry to match chkSelAll.
    void chkSelAll_Click();

    void mSelAll_Click() { setSelectAll(1); }
    void mSelAllUn_Click() { setSelectAll(0); }
    void mLChSel_Click();
    void mClear_Click();

private:
    MainState& s_;
    std::function<void()> showDescriptions_;
};

}  // namespace scourix
