#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "TempFolder.h"
#include "platform/posix/LinkTrust.h"

namespace scourix::test {

// Plays the other local user. As root, what it is given really becomes kOtherUser's and the
// rule for links is the program's own; as anyone else, the rule counts what it was given as
// another user's, since an ordinary user cannot give a file away.
class OtherUser final : public LinkTrust {
public:
    // Gives path (a link as itself) to the other user; returns it.
    std::string owns(const std::string& path) {
        struct stat st {};
        if (::geteuid() == 0 ? ::lchown(path.c_str(), kOtherUser, kOtherUser) != 0
                             : ::lstat(path.c_str(), &st) != 0) {
            throw std::runtime_error("cannot give away " + path);
        }
        if (::geteuid() != 0) {
            theirs_.emplace(st.st_dev, st.st_ino);
        }
        return path;
    }

    bool trustedOwner(const struct stat& entry) const override {
        return !theirs_.contains({entry.st_dev, entry.st_ino}) && LinkTrust::trustedOwner(entry);
    }

private:
    std::set<std::pair<dev_t, ino_t>> theirs_;
};

}  // namespace scourix::test
