#pragma once

#include <set>
#include <stdexcept>
#include <utility>

#include "TempFolder.h"
#include "platform/posix/LinkTrust.h"

namespace scourix::test {

// Plays the other local user: as root, what it owns is really kOtherUser's and the rule for
// links is the program's own; as anyone else, who cannot give a file away, the rule counts
// what it owns as another user's.
class OtherUser final : public LinkTrust {
public:
    // Gives path (a link as itself) to the other user; returns it.
    std::string owns(const std::string& path) {
        struct stat st {};
        const bool root = ::geteuid() == 0;
        if (root ? ::lchown(path.c_str(), kOtherUser, kOtherUser) != 0
                 : ::lstat(path.c_str(), &st) != 0) {
            throw std::runtime_error("cannot give away " + path);
        }
        root ? void() : void(theirs_.emplace(st.st_dev, st.st_ino));
        return path;
    }
    bool trustedOwner(const struct stat& entry) const override {
        return !theirs_.contains({entry.st_dev, entry.st_ino}) && LinkTrust::trustedOwner(entry);
    }

private:
    std::set<std::pair<dev_t, ino_t>> theirs_;
};

}  // namespace scourix::test
