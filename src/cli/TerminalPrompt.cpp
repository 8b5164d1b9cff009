#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "cli/Signals.h"

namespace scourix {

bool TerminalPrompt::open() {
    tty_ = UniqueFd(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    return tty_.valid();
}

TerminalPrompt::Answer TerminalPrompt::ask(const std::string& question) {
    (void)!::write(tty_.get(), question.data(), question.size());
    std::string answer;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(tty_.get(), &c, 1);
        if (Signals::received() != 0) {
            (void)!::write(tty_.get(), "\n", 1);
            return Answer::Interrupted;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // End of input answers nothing, which is no.
        if (n <= 0 || c == '\n') {
            break;
        }
        answer += c;
    }
    return ::rpmatch(answer.c_str()) == 1 ? Answer::Yes : Answer::No;
}

}  // namespace scourix
