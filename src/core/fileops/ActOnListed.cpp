#include "fileops/ActOnListed.h"

#include <cerrno>

namespace scourix {

Result<bool> actOnListed(FileSystem& fs, const std::string& path, bool rename) {
    // Looked up first: a folder that has taken the file's place would rename.
    const Result<std::string> name = fs.lookupListed(path, Lookup::WithHiddenAndSystem);
    if (name && name.value().empty()) {
        return false;
    }
    const Status done =
        rename ? fs.renameNoReplace(path, path + std::string(kStashSuffix)) : fs.removeFile(path);
    if (!done) {
        return done.error();
    }
    return true;
}

Result<bool> restoreStashed(FileSystem& fs, const std::string& path) {
    const Result<std::string> name = fs.lookupListed(path, Lookup::WithHiddenAndSystem);
    if (name && name.value().empty()) {
        return false;
    }
    if (!path.ends_with(kStashSuffix)) {
        return errorOf(EINVAL);
    }
    const Status done = fs.renameNoReplace(path, path.substr(0, path.size() - kStashSuffix.size()));
    if (!done) {
        return done.error();
    }
    return true;
}

}  // namespace scourix
