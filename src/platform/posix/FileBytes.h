#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace scourix {

// Whole-file reads and writes of raw bytes. Writes never leave a half-written file behind:
// a failed create removes what it wrote, a failed replace keeps the old file whole.
class FileBytes {
public:
    static Result<std::string> read(const std::string& path);

    // Creates or truncates path (mode 0666 less the umask) and writes bytes.
    static Status create(const std::string& path, std::string_view bytes);

    // Writes bytes to a new file beside path and renames it over path once it is whole
    // and on disk. The new file keeps the old one's permission bits (and owner, where
    // allowed); a new path gets 0666 less the umask.
    static Status replace(const std::string& path, std::string_view bytes);

    // Writes all of bytes to fd, through short writes and interruptions.
    static Status writeAll(int fd, std::string_view bytes);
};

}  // namespace scourix
