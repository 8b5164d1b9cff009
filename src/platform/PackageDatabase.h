#pragma once

#include <string_view>

namespace scourix {

// The files that the system's package manager installed. A file it owns is a system file:
// the operating system needs it, whatever its name looks like.
class PackageDatabase {
public:
    virtual ~PackageDatabase() = default;

    // Whether an installed package owns the file at path: an absolute path without "." or
    // ".." components, doubled or final "/". Safe to call from several threads.
    virtual bool owns(std::string_view path) = 0;
};

}  // namespace scourix
