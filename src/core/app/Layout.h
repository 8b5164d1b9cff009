#pragma once

#include "base/MainState.h"

namespace scourix {

// Form_Resize: keeps the status line on the bottom edge, stretches the result list to the
// right and bottom edges, stacks the scan switches and the type-list buttons above the
// status line, lets the type list fill the space above them and keeps Picture1 at the
// right edge. The top area keeps its design place.
class Layout {
public:
    explicit Layout(MainState& state) : s_(state) {}

    void Form_Resize();

private:
    MainState& s_;
};

}  // namespace scourix
