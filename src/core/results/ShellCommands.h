#pragma once

#include <cstddef>
#include <string>

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
    // The real path of the current entry's file, with up to headBytes of it in head; ""
    // when it is not a regular file that can be reached safely.
    std::string checkedFile(std::size_t headBytes, std::string* head) const;

    MainState& s_;
};

}  // namespace scourix
