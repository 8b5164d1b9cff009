#pragma once

#include "base/MainState.h"

namespace scourix {

// Renames the current result's file within its folder and writes the new path into the
// entry, which keeps its position and its tick.
class Rename {
public:
    explicit Rename(MainState& state) : s_(state) {}

    void mRename_Click();

private:
    void fail(const std::string& description);

    MainState& s_;
};

}  // namespace scourix
