#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace scourix {

// Whole-file reads and writes of raw bytes, each on an entry of an open folder. Writes
// never leave a half-written file behind: a failed create removes what it wrote, a failed
// replace keeps the old file whole.
class FileBytes {
public:
    // Reads a regular file of at most cap bytes; anything else (a device, a FIFO, a file
    // that grows past cap) is refused before a byte is read from it.
    static Result<std::string> read(int dir, const char* name, std::size_t cap);

    // Writes bytes to a new file (mode 0666 less the umask) and keeps it open. An existing
    // regular file of this user's with no other link is removed first; anything else
    // there fails with "File exists".
    static Result<WrittenFilePtr> createNew(int dir, const char* name, std::string_view bytes);

    // Writes bytes to a new file beside name and renames it over name once it is whole and
    // on disk. The new file keeps the old one's permission bits (and owner, where allowed);
    // a new name gets 0666 less the umask. A file without owner write permission is not
    // replaced.
    static Status replace(int dir, const char* name, std::string_view bytes);

    // Writes all of bytes to fd, through short writes and interruptions.
    static Status writeAll(int fd, std::string_view bytes);
};

}  // namespace scourix
