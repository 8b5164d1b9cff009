#pragma once

#include "app/MainState.h"

namespace scourix {

class ShellCommands {
public:
    explicit ShellCommands(MainState& state) : s_(state) {}

    void cmdOpen_Click();
    void cmdFileAttrib_Click();

private:
    MainState& s_;
};

}  // namespace scourix
