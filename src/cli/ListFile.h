#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace scourix {

// The lists the command line reads from files: the paths of --from and the patterns of
// --exclude-from. Both are bytes, not the window's GB18030 texts.
class ListFile {
public:
    // Told of an entry that names no file, with the reason in the user's language.
    using Refused = std::function<void(const std::string& entry, const std::string& reason)>;

    // The whole of a file, or of standard input for "-".
    static Result<std::string> readAll(const std::string& path);
    static std::vector<std::string> splitOn(const std::string& text, char separator);
    // "./a//b/" and the like as the walk writes paths: no empty or "." components.
    static std::string tidyPath(const std::string& path);
    // The paths a list names, absolute (relative ones from `here`): NUL-separated bytes when
    // `nul`, else one escaped name a line.
    static std::vector<std::string> paths(const std::string& text, bool nul,
                                          const std::string& here, const Refused& refused);
    // One pattern a line; empty lines and "#" comments are skipped.
    static std::vector<std::string> patterns(const std::string& text);
};

}  // namespace scourix
