#pragma once

#include <optional>
#include <string>

namespace scourix {

// The window's executable takes no options of its own but --help and --version, which
// work without a display; Qt's options (-platform, -display, -style...) pass to Qt. The
// exit statuses are those of the manual page: 0 done, 2 a usage error or no window.
class CommandLine {
public:
    static constexpr int kUsageError = 2;

    // Before Qt starts: --help or --version prints its text to standard output and gives
    // the status to end with; anything else gives nothing and the start goes on.
    static std::optional<int> early(int argc, char* const argv[]);
    // After Qt has taken its own options from argv: what is left is a usage error, told
    // in one line on standard error. Nothing when argv holds the program's name alone.
    static std::optional<int> leftover(int argc, char* const argv[]);

    static std::string helpText();
    static std::string versionText();
};

}  // namespace scourix
