#include "platform/posix/PathResolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

}  // namespace

void PathResolver::hold(bool on) const {
    holding_ += on ? 1 : -1;
    if (holding_ == 0) {
        heldText_.clear();
        held_.clear();
    }
}

const std::string& ReachedEntry::folderRealPath() const {
    if (folder->realPath.empty() && folder->textIsReal) {
        // Its text, with no doubled "/" and none at the end but for "/" itself.
        for (char c : folderText) {
            if (c != '/' || folder->realPath.empty() || folder->realPath.back() != '/') {
                folder->realPath += c;
            }
        }
        if (folder->realPath.size() > 1 && folder->realPath.back() == '/') {
            folder->realPath.pop_back();
        }
    }
    if (folder->realPath.empty()) {
        const std::string link = "/proc/self/fd/" + std::to_string(dir());
        std::string real(4096, '\0');
        for (;;) {
            const ssize_t n = ::readlink(link.c_str(), real.data(), real.size());
            if (n < 0) {
                real.clear();
                break;
            }
            if (static_cast<std::size_t>(n) < real.size()) {
                real.resize(static_cast<std::size_t>(n));
                break;
            }
            real.resize(real.size() * 2);
        }
        folder->realPath = std::move(real);
    }
    return folder->realPath;
}

int PathResolver::expandLink(const UniqueFd& link, UniqueFd& at, std::vector<std::string>& pending,
                             int& linksLeft, signed char*& safe) const {
    struct stat st {};
    if (::fstat(link.get(), &st) != 0) {
        return errno;
    }
    if (--linksLeft < 0) {
        return ELOOP;
    }
    if (!trust_->trustedOwner(st)) {
        return EACCES;
    }
    signed char verdict = -1;
    signed char& kept = safe != nullptr ? *safe : verdict;
    if (kept < 0) {
        kept = trust_->safeFolder(at.get()) ? 1 : 0;
    }
    if (kept == 0) {
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
        safe = nullptr;
        if (!at.valid()) {
            return errno;
        }
    }
    pushComponents(target, pending);
    return 0;
}

int PathResolver::descend(UniqueFd& at, std::vector<std::string>& pending, int& linksLeft,
                          signed char* safe) const {
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
            safe = nullptr;
        } else if (!S_ISLNK(st.st_mode)) {
            return ENOTDIR;
        } else if (const int error = expandLink(next, at, pending, linksLeft, safe); error != 0) {
            return error;
        }
    }
    return 0;
}

int PathResolver::step(const ReachedFolder& from, std::string_view component, int& linksLeft,
                       UniqueFd& reached, bool& plain) const {
    plain = false;
    if (component == "." || component == "..") {
        reached.reset(::openat(from.fd.get(), std::string(component).c_str(),
                               O_PATH | O_DIRECTORY | O_CLOEXEC));
        return reached.valid() ? 0 : errno;
    }
    const std::string name(component);
    // A folder, as most components are: one call. A link fails to open as a folder and is
    // looked at on its own.
    reached.reset(
        ::openat(from.fd.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (reached.valid()) {
        plain = true;
        return 0;
    }
    if (errno != ENOTDIR) {
        return errno;
    }
    // Not a folder: looked at on its own from the folder it is in, a link followed from there.
    reached.reset(::openat(from.fd.get(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> pending{name};
    return descend(reached, pending, linksLeft, &from.safe);
}

std::ptrdiff_t PathResolver::sharedLevel(std::string_view text) const {
    if (holding_ <= 0 || held_.empty() || text.starts_with('/') != heldText_.starts_with('/')) {
        return -1;
    }
    const std::size_t limit = std::min(text.size(), heldText_.size());
    std::size_t common = 0;
    while (common < limit && text[common] == heldText_[common]) {
        ++common;
    }
    for (auto k = static_cast<std::ptrdiff_t>(held_.size()) - 1; k >= 0; --k) {
        const Level& level = held_[static_cast<std::size_t>(k)];
        const std::size_t end = level.end;
        if (level.folder && end <= common &&
            (end == text.size() || text[end] == '/' || (end > 0 && text[end - 1] == '/'))) {
            return k;
        }
    }
    return -1;
}

std::shared_ptr<const ReachedFolder> PathResolver::folderFor(std::string_view text,
                                                             int& error) const {
    // As many folders of the held way open as a deep walk can afford; the way from "/"
    // is always one of them.
    constexpr std::size_t kMaxHeld = 128;
    const std::ptrdiff_t shared = sharedLevel(text);
    std::shared_ptr<const ReachedFolder> at;
    std::size_t pos = 0;
    if (shared >= 0) {
        held_.resize(static_cast<std::size_t>(shared) + 1);
        at = held_.back().folder;
        pos = held_.back().end;
    } else {
        const bool absolute = text.starts_with('/');
        UniqueFd start = openStart(absolute);
        if (!start.valid()) {
            error = errno;
            return nullptr;
        }
        auto root = std::make_shared<ReachedFolder>(std::move(start));
        root->textIsReal = absolute;
        at = root;
        pos = absolute ? 1 : 0;
        held_.clear();
        if (holding_ > 0) {
            held_.push_back({pos, at});
        }
    }
    if (holding_ > 0) {
        heldText_.assign(text);
    }
    int linksLeft = kMaxLinks;
    while (pos < text.size()) {
        const std::size_t begin = text.find_first_not_of('/', pos);
        if (begin == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find('/', begin), text.size());
        const std::string_view component = text.substr(begin, end - begin);
        UniqueFd next;
        bool plain = false;
        if ((error = step(*at, component, linksLeft, next, plain)) != 0) {
            return nullptr;
        }
        auto folder = std::make_shared<ReachedFolder>(std::move(next));
        // A folder's own name below a folder of known real path: its real path is known too.
        folder->textIsReal = plain && at->textIsReal;
        at = std::move(folder);
        pos = end;
        if (holding_ > 0) {
            held_.push_back({end, at});
            if (held_.size() > kMaxHeld + 1) {
                held_[held_.size() - kMaxHeld - 1].folder.reset();
            }
        }
    }
    return at;
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
    ReachedEntry reached{folderFor(parent, error), std::string(last), std::string(parent)};
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
        signed char* safe = &reached.folder->safe;
        if (const int e = expandLink(entry, at, pending, linksLeft, safe); e != 0) {
            return systemError(e);
        }
        // A link to "/" leaves nothing pending: the folder reached is the entry itself.
        reached.name = pending.empty() ? std::string(".") : std::move(pending.front());
        if (!pending.empty()) {
            pending.erase(pending.begin());
        }
        if (const int e = descend(at, pending, linksLeft, safe); e != 0) {
            return systemError(e);
        }
        reached.folder = std::make_shared<const ReachedFolder>(std::move(at));
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
