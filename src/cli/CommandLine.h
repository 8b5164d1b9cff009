#pragma once

#include <optional>

#include "cli/CliSettings.h"

namespace scourix {

// The command line's words turned into settings, by the option table; --help, --version
// and --generate are answered here.
class CommandLine {
public:
    // The settings, or the exit status when the run ends here (help, version, a usage
    // error, which is reported).
    static std::optional<int> parse(int argc, char** argv, CliSettings& settings);
};

inline constexpr const char* kVersionText = "scourix-cli 1.51";

}  // namespace scourix
