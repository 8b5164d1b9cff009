#pragma once

#include "base/MainState.h"

namespace scourix {

// Opening the current entry's file with the desktop's application for it, and the
// desktop's properties sheet of that file.
class ShellCommands {
public:
    explicit ShellCommands(MainState& state) : s_(state) {}

    void cmdOpen_Click();
    void cmdFileAttrib_Click();

private:
    MainState& s_;
};

}  // namespace scourix
