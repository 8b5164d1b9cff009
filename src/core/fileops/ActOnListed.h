#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace scourix {

// The suffix of a temporarily deleted file's name.
inline constexpr std::string_view kStashSuffix = ".del";

// Deletes a listed file for good, or renames it to its name with ".del" appended, never
// replacing anything. True when done; false when the file is gone, or a package has
// installed it since it was listed (never touched): nothing to do. A look that fails,
// rather than finding nothing, goes on to the attempt, whose failure is returned. Both the
// window's commands and the command line act on each file through here.
Result<bool> actOnListed(FileSystem& fs, const std::string& path, bool rename);

// Undoes a temporary deletion: renames a listed "name.del" back to "name", never replacing
// a file that has taken the name meanwhile. True when done, false when it is gone.
Result<bool> restoreStashed(FileSystem& fs, const std::string& path);

}  // namespace scourix
