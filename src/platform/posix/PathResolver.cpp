#include "platform/posix/PathResolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/SystemError.h"

namespace scourix {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The components of text, last first, so that the next one is taken from the back.
void pushComponents(std::string_view text, std::vector<std::string>& pending) {
    std::size_t end = text.size();
    while (end > 0) {
        const std::size_t slash = text.rfind('/', end - 1);
        const std::size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
        if (end > begin) {
            pending.emplace_back(text.substr(begin, end - begin));
        }
        if (slash == std::string_view::npos) {
            break;
        }
        end = slash;
    }
}

UniqueFd openStart(bool absolute) {
    return UniqueFd(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// Whether text names a folder below the one named by held.
bool extends(std::string_view held, std::string_view text) {
    return !held.empty() && text.size() > held.size() && text.starts_with(held) &&
           (held.back() == '/' || text[held.size()] == '/');
}

}  // namespace

bool PathResolver::trustedOwner(unsigned uid) {
    return uid == 0 || uid == ::geteuid();
}

void PathResolver::hold(bool on) const {
    holding_ += on ? 1 : -1;
    if (holding_ == 0) {
        heldText_.clear();
        heldFolder_.reset();
    }
}

int PathResolver::expandLink(const UniqueFd& link, UniqueFd& at, std::vector<std::string>& pending,
                             int& linksLeft) {
    struct stat st {};
    if (::fstat(link.get(), &st) != 0) {
        return errno;
    }
    if (--linksLeft < 0) {
        return ELOOP;
    }
    if (!trustedOwner(st.st_uid)) {
        return EACCES;
    }
    std::string target(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 256, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(link.get(), "", target.data(), target.size());
        if (n < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            break;
        }
        target.resize(target.size() * 2);
    }
    if (target.empty()) {
        return ENOENT;
    }
    if (target.front() == '/') {
        at = openStart(true);
        if (!at.valid()) {
            return errno;
        }
    }
    pushComponents(target, pending);
    return 0;
}

int PathResolver::descend(UniqueFd& at, std::vector<std::string>& pending, int& linksLeft) {
    while (!pending.empty()) {
        const std::string component = std::move(pending.back());
        pending.pop_back();
        if (component.empty() || component == ".") {
            continue;
        }
        // ".." is never a link; every other component is looked at before it is used.
        const int flags = O_PATH | O_CLOEXEC | (component == ".." ? O_DIRECTORY : O_NOFOLLOW);
        UniqueFd next(::openat(at.get(), component.c_str(), flags));
        if (!next.valid()) {
            return errno;
        }
        struct stat st {};
        if (::fstat(next.get(), &st) != 0) {
            return errno;
        }
        if (S_ISDIR(st.st_mode)) {
            at = std::move(next);
        } else if (!S_ISLNK(st.st_mode)) {
            return ENOTDIR;
        } else if (const int error = expandLink(next, at, pending, linksLeft); error != 0) {
            return error;
        }
    }
    return 0;
}

std::shared_ptr<const UniqueFd> PathResolver::folderFor(std::string_view text, int& error) const {
    if (holding_ > 0 && heldFolder_ && text == heldText_) {
        return heldFolder_;
    }
    UniqueFd at;
    std::string_view rest = text;
    if (holding_ > 0 && heldFolder_ && extends(heldText_, text)) {
        at.reset(::openat(heldFolder_->get(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
        rest.remove_prefix(heldText_.size());
    } else {
        at = openStart(text.starts_with('/'));
    }
    if (!at.valid()) {
        error = errno;
        return nullptr;
    }
    std::vector<std::string> pending;
    pushComponents(rest, pending);
    int linksLeft = kMaxLinks;
    if ((error = descend(at, pending, linksLeft)) != 0) {
        return nullptr;
    }
    auto folder = std::make_shared<const UniqueFd>(std::move(at));
    if (holding_ > 0) {
        heldText_.assign(text);
        heldFolder_ = folder;
    }
    return folder;
}

Result<ReachedEntry> PathResolver::reach(const std::string& path, bool followLast) const {
    std::string_view text = path;
    while (text.size() > 1 && text.back() == '/') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return systemError(ENOENT);
    }
    std::string_view parent;
    std::string_view last = text;
    if (text == "/") {
        parent = "/";
        last = ".";
    } else if (const std::size_t slash = text.rfind('/'); slash != std::string_view::npos) {
        parent = slash == 0 ? text.substr(0, 1) : text.substr(0, slash);
        last = text.substr(slash + 1);
    }
    int error = 0;
    ReachedEntry reached{folderFor(parent, error), std::string(last)};
    if (!reached.folder) {
        return systemError(error);
    }
    int linksLeft = kMaxLinks;
    while (followLast) {
        UniqueFd entry(
            ::openat(reached.dir(), reached.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!entry.valid() || ::fstat(entry.get(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            break;  // what is there, or its absence, is the caller's to find
        }
        // The target's folder is reached from the link's own folder, its last part kept.
        UniqueFd at(::openat(reached.dir(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
        std::vector<std::string> pending;
        if (const int e = expandLink(entry, at, pending, linksLeft); e != 0) {
            return systemError(e);
        }
        // A link to "/" leaves nothing pending: the folder reached is the entry itself.
        reached.name = pending.empty() ? std::string(".") : std::move(pending.front());
        if (!pending.empty()) {
            pending.erase(pending.begin());
        }
        if (const int e = descend(at, pending, linksLeft); e != 0) {
            return systemError(e);
        }
        reached.folder = std::make_shared<const UniqueFd>(std::move(at));
    }
    return reached;
}

Result<UniqueFd> PathResolver::reachFolder(const std::string& path) const {
    Result<ReachedEntry> reached = reach(path, true);
    if (!reached) {
        return reached.error();
    }
    const ReachedEntry& entry = reached.value();
    UniqueFd folder(
        ::openat(entry.dir(), entry.name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        return lastSystemError();
    }
    return folder;
}

}  // namespace scourix
