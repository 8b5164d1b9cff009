#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "platform/posix/LinkTrust.h"
#include "platform/posix/UniqueFd.h"

namespace scourix {

// A folder reached by PathResolver, with its real path once anyone needs it.
struct ReachedFolder {
    explicit ReachedFolder(UniqueFd open) : fd(std::move(open)) {}

    UniqueFd fd;  // O_PATH
    // The text that led here is its real path: from "/", by folders' own names only.
    bool textIsReal = false;
    // From "/", without links, "." or ".."; "" until asked for.
    mutable std::string realPath;
    // Whether links in it may be followed: -1 until a link is met, then 0 or 1, so that a
    // held folder's way up is looked at once per hold.
    mutable signed char safe = -1;
};

// An entry reached through a folder descriptor: the *at() system calls act on `name`
// relative to `folder`, so nothing on the path above can be swapped under them.
struct ReachedEntry {
    std::shared_ptr<const ReachedFolder> folder;
    std::string name;        // "." for the folder itself
    std::string folderText;  // the text that led to the folder

    int dir() const { return folder->fd.get(); }
    // The folder's real path, asked of the kernel when the way there did not tell it.
    const std::string& folderRealPath() const;
};

// Reaches paths one component at a time from "/" or the current folder, each folder
// opened relative to the one before and never through a link blindly. A symbolic link on
// the way is followed only by the rule of LinkTrust (another user could otherwise point it
// anywhere, say at /etc, after a scan, or move a link of root's into a folder's place); any
// other link fails with "Permission denied". Paths of any length are reached this way.
class PathResolver {
public:
    explicit PathResolver(std::shared_ptr<const LinkTrust> trust = std::make_shared<LinkTrust>())
        : trust_(std::move(trust)) {}

    const std::shared_ptr<const LinkTrust>& trust() const { return trust_; }

    // The folder holding the last component of path, and that component's name. With
    // followLast, a last component that is a link is followed by the same rule.
    Result<ReachedEntry> reach(const std::string& path, bool followLast) const;

    // The folder at path itself, as an O_PATH descriptor.
    Result<UniqueFd> reachFolder(const std::string& path) const;

    // While held, the folders on the way to the last folder reached stay open: the next
    // path starts from the deepest of them that it shares, so a list of paths in walk
    // order opens each folder once. Holds nest.
    void hold(bool on) const;

private:
    // One folder of the held way: the text of the path up to it, and the folder.
    struct Level {
        std::size_t end = 0;
        std::shared_ptr<const ReachedFolder> folder;  // null once closed to bound the count
    };

    std::shared_ptr<const ReachedFolder> folderFor(std::string_view text, int& error) const;
    // The deepest held level whose text is text or a folder above it; -1 when none.
    std::ptrdiff_t sharedLevel(std::string_view text) const;
    // Reaches the folder one component of a path leads to from `from`, following trusted
    // links; plain tells whether it was a folder's own name (its real path is then known).
    int step(const ReachedFolder& from, std::string_view component, int& linksLeft,
             UniqueFd& reached, bool& plain) const;
    // Follows pending components (last first) from at; 0, or the errno of the failure.
    // safe: the verdict kept for at's folder, or null.
    int descend(UniqueFd& at, std::vector<std::string>& pending, int& linksLeft,
                signed char* safe) const;
    // Puts a trusted link's target in front of the pending components; at is the folder
    // holding the link, safe its kept verdict (null once at moves to "/").
    int expandLink(const UniqueFd& link, UniqueFd& at, std::vector<std::string>& pending,
                   int& linksLeft, signed char*& safe) const;

    std::shared_ptr<const LinkTrust> trust_;
    mutable int holding_ = 0;
    mutable std::string heldText_;
    mutable std::vector<Level> held_;
};

}  // namespace scourix
