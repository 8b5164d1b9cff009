#pragma once

#include "app/MainState.h"

namespace scourix {

class Rename {
public:
    explicit Rename(MainState& state) : s_(state) {}

    void mRename_Click();

private:
    MainState& s_;
};

}  // namespace scourix
