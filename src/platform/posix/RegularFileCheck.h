#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"
#include "platform/posix/PathResolver.h"

namespace scourix {

// The last look before a file is handed to the desktop, whose openers take only paths: the
// file is reached by the resolver's rule for links and held by a descriptor, its path is read
// back from that descriptor (from "/", with no link in it), and that path must still lead to
// the same file. Only a regular file passes, and only that very file is read from.
class RegularFileCheck {
public:
    static Result<CheckedFile> check(const PathResolver& resolver, const std::string& path,
                                     std::size_t headBytes);
    // The path the kernel keeps for an open descriptor, from "/" with no link in it; ""
    // when it cannot be read.
    static std::string pathOf(int fd);
};

}  // namespace scourix
