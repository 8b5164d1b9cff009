#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "platform/posix/UniqueFd.h"

namespace scourix {

// An entry reached through a folder descriptor: the *at() system calls act on `name`
// relative to `folder`, so nothing on the path above can be swapped under them.
struct ReachedEntry {
    std::shared_ptr<const UniqueFd> folder;
    std::string name;  // "." for the folder itself

    int dir() const { return folder->get(); }
};

// Reaches paths one component at a time from "/" or the current folder, each folder
// opened relative to the one before and never through a link blindly. A symbolic link on
// the way is followed only when it belongs to root or to the user running the program
// (another user could otherwise point it anywhere, say at /etc, after a scan); any other
// link fails with "Permission denied". Paths of any length are reached this way.
class PathResolver {
public:
    // The folder holding the last component of path, and that component's name. With
    // followLast, a last component that is a link is followed by the same rule.
    Result<ReachedEntry> reach(const std::string& path, bool followLast) const;

    // The folder at path itself, as an O_PATH descriptor.
    Result<UniqueFd> reachFolder(const std::string& path) const;

    // While held, the last folder reached is kept for the next call: paths in the same
    // folder or below it start from there instead of from "/". Holds nest.
    void hold(bool on) const;

    // The rule for links: whether a link owned by uid may be followed.
    static bool trustedOwner(unsigned uid);

private:
    std::shared_ptr<const UniqueFd> folderFor(std::string_view text, int& error) const;
    // Follows pending components (last first) from at; 0, or the errno of the failure.
    static int descend(UniqueFd& at, std::vector<std::string>& pending, int& linksLeft);
    // Puts a trusted link's target in front of the pending components.
    static int expandLink(const UniqueFd& link, UniqueFd& at, std::vector<std::string>& pending,
                          int& linksLeft);

    mutable int holding_ = 0;
    mutable std::string heldText_;
    mutable std::shared_ptr<const UniqueFd> heldFolder_;
};

}  // namespace scourix
