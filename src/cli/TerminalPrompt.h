#pragma once

#include <string>

#include "platform/posix/UniqueFd.h"

namespace scourix {

// A question put on the controlling terminal, whatever standard input and output are, so
// that a list piped in cannot answer it. The answer is read by the locale's yes/no rules.
class TerminalPrompt {
public:
    enum class Answer { Yes, No, Interrupted };

    // Opens /dev/tty; false when there is no terminal to ask on.
    bool open();
    Answer ask(const std::string& question);

private:
    UniqueFd tty_;
};

}  // namespace scourix
