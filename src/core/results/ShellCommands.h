#pragma once

#include "base/MainState.h"
#include "platform/Shell.h"

namespace scourix {

// Opening the current entry's file with the desktop's application for it, and the
// desktop's properties sheet of that file.
class ShellCommands {
public:
    explicit ShellCommands(MainState& state) : s_(state) {}

    void cmdOpen_Click();
    void cmdFileAttrib_Click();
    // The box for an opener that could not be started at all; other outcomes pass.
    static void reportOpener(Platform& ui, OpenOutcome outcome);

private:
    MainState& s_;
};

}  // namespace scourix
