#include "cli/Signals.h"

#include <csignal>

namespace scourix {

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void onStopSignal(int signal) {
    if (caught == 0) {
        caught = signal;
    }
}

}  // namespace

void Signals::install() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the prompt's answer returns at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int Signals::received() {
    return caught;
}

}  // namespace scourix
