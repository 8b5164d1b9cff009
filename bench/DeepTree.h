#pragma once

#include <cstddef>
#include <string>

namespace scourix::bench {

// A chain of folders named "a", one inside the other, `levels` deep: full paths grow far
// beyond PATH_MAX. Some levels hold more: a plain file every 10 levels, a sibling folder
// with a file every 100 and a junk file every 1000. Junk is kept rare because every result
// is a path as long as its depth.
struct DeepTreeStats {
    std::size_t levels = 0;
    std::size_t folders = 0;
    std::size_t files = 0;
    std::size_t junk = 0;  // files a scan with the built-in patterns lists
};

// Builds the chain under root (which must exist), each level made relative to the
// descriptor of the one above it.
DeepTreeStats buildDeepTree(const std::string& root, std::size_t levels);

}  // namespace scourix::bench
