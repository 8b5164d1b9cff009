#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <poll.h>
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
        // Waits a short while at a time: a signal that comes just before the read would
        // otherwise leave it waiting for a key.
        struct pollfd ready {
            tty_.get(), POLLIN, 0
        };
        const int polled = ::poll(&ready, 1, 100);
        if (Signals::received() != 0) {
            (void)!::write(tty_.get(), "\n", 1);
            return Answer::Interrupted;
        }
        if (polled <= 0) {
            continue;
        }
        char c = 0;
        const ssize_t n = ::read(tty_.get(), &c, 1);
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
