#include "base/ProgramFiles.h"

namespace scourix {

std::string programFile(const FileSystem& fs, std::string_view name) {
    std::string path = fs.programFolder();
    // A program in the root folder has an empty folder text; never double the separator.
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace scourix
