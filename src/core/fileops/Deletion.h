#pragma once

#include "app/MainState.h"
#include "fileops/AttribReset.h"

namespace scourix {

class Deletion {
public:
    Deletion(MainState& state, AttribReset& attrib) : s_(state), attrib_(attrib) {}

    void cmdKill_Click();
    void cmdDeltmp_Click();

private:
    MainState& s_;
    AttribReset& attrib_;
};

}  // namespace scourix
