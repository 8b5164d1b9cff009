#pragma once

#include <sys/stat.h>

namespace scourix {

// Whether a symbolic link may be followed: only where nobody else could have put it or moved
// it there. That is, the link and every folder above it up to "/" belong to root or to the
// user running the program, and none of those folders lets anyone else add, remove or rename
// its entries. The two questions are virtual so that a test can play another user without
// being root.
class LinkTrust {
public:
    virtual ~LinkTrust() = default;

    // Root or the effective user.
    virtual bool trustedOwner(const struct stat& entry) const;
    // Writable by its group or by others, unless sticky: in a sticky folder others may add
    // entries but move or remove only their own, and a link followed is never theirs. A named
    // user's write access shows in the group bits (the access list's mask), so it counts too.
    virtual bool openToOthers(const struct stat& folder) const;

    // Whether a link held in the folder open as fd may be followed: the folder and each one
    // above it, reached by "..", as they are now.
    bool safeFolder(int fd) const;
};

}  // namespace scourix
