#pragma once

#include "base/MainState.h"

namespace scourix {

class AttribReset {
public:
    explicit AttribReset(MainState& state) : s_(state) {}

    void SetFileAttrib();

private:
    MainState& s_;
};

}  // namespace scourix
