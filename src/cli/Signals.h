#pragma once

namespace scourix {

// SIGINT and SIGTERM ask the run to stop: a scan at once, an action after the current
// file. A closed output pipe is noticed by the write that fails, not by SIGPIPE.
class Signals {
public:
    static void install();
    // The first stop signal received, 0 while none.
    static int received();
    // The exit status after that signal: 128 + its number.
    static int exitStatus() { return 128 + received(); }
};

}  // namespace scourix
