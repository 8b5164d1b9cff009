#pragma once

#include <string>

#include "platform/Result.h"

namespace scourix {

// A path as a folder descriptor and a last component, for the *at() system calls. A path
// too long for the kernel to take whole (a tree thousands of levels deep) is reached a
// piece at a time; a shorter one is used as it is, relative to the current folder.
class AtPath {
public:
    explicit AtPath(const std::string& path);
    ~AtPath();
    AtPath(const AtPath&) = delete;
    AtPath& operator=(const AtPath&) = delete;

    // The failure of reaching the folder, when there was one.
    bool ok() const { return error_ == 0; }
    int error() const { return error_; }

    int dir() const { return dir_; }
    const char* leaf() const { return leaf_.c_str(); }

private:
    int dir_;
    bool owned_ = false;
    int error_ = 0;
    std::string leaf_;
};

}  // namespace scourix
