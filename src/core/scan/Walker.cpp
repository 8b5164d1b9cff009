#include "scan/Walker.h"
#include "platform/VisibleText.h"

#include <algorithm>
#include <thread>
#include <unordered_set>

#include "platform/Dialogs.h"
#include "scan/FolderQueue.h"
#include "types/LinuxTypes.h"

namespace scourix {

void Walker::begin(bool skipHidden, bool skipSystem) {
    std::vector<std::string> texts;
    const CheckList& pat = s_.ui.lstPat;
    texts.reserve(pat.count());
    for (std::size_t i = 0; i < pat.count(); ++i) {
        texts.push_back(pat.text(i));
    }
    patterns_.emplace(texts);
    lengths_ = {};
    rules_.patterns = &*patterns_;
    rules_.coreOnly.assign(texts.size(), false);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        rules_.coreOnly[i] = needsCoreCheck(texts[i]);
    }
    rules_.skipHidden = skipHidden;
    rules_.skipSystem = skipSystem;
    // Volumes never overlap, as drives do not: a volume mounted below a walked folder is
    // walked from its own entry only, ticked or not.
    rules_.volumes.clear();
    const WalkLimits& limits = s_.walkLimits;
    const bool everyOne = limits.locationsAreVolumes;
    std::unordered_set<std::string> isVolume;
    if (!everyOne) {
        const std::vector<std::string> volumes = s_.ui.fs.volumes();
        isVolume.insert(volumes.begin(), volumes.end());
    }
    const CheckList& locations = s_.ui.lstDrive;
    for (std::size_t i = 0; i + (everyOne ? 0 : 1) < locations.count(); ++i) {
        if (everyOne || isVolume.contains(locations.text(i))) {
            if (auto folder = s_.ui.fs.openFolder(locations.text(i)); folder && folder.value()) {
                rules_.volumes.insert(folder.value()->id);
            }
        }
    }
    excludes_.reset();
    if (!limits.excludes.empty()) {
        excludes_.emplace(limits.excludes);
    }
}

int Walker::askAboutFailure(const Error& error, const std::string& path) {
    if (onFailure) {
        return onFailure(error, path);
    }
    return s_.ui.dialogs.messageBox(error.description + "." + kCrLf + visibleText(path),
                                    mb::kAbortRetryIgnore | mb::kCritical, "查找文件");
}

void Walker::Dirs(const std::string& path) {
    if (!patterns_) {
        begin(rules_.skipHidden, rules_.skipSystem);
    }
    // A relative location is taken from the current folder, so that the results can be
    // used after the walk whatever happens to the current folder.
    std::string where = path;
    if (!where.empty() && where.front() != '/') {
        std::string folder = s_.ui.fs.currentFolder();
        if (folder.empty() || folder.back() != '/') {
            folder += '/';
        }
        where = folder + where;
    }
    FolderQueue queue(s_.ui.fs, rules_, s_.readerThreads(), where);
    while (WalkNode* node = queue.next()) {
        bool walked = false;
        try {
            walked = visit(queue, *node, path);
        } catch (...) {
            // A failure inside the visit ends the walk; the folder goes back to the queue,
            // which frees it with the rest.
            queue.pass(*node);
            throw;
        }
        if (walked) {
            queue.enter(*node);
        } else {
            queue.pass(*node);
        }
    }
}

bool Walker::visit(FolderQueue& queue, WalkNode& node, const std::string& typed) {
    if (node.depth == 0) {
        path_ = node.name;
        levelEnds_.clear();
    } else {
        path_.resize(levelEnds_[node.depth - 1], '/');
        path_ += node.name;
    }
    // Abort ends the visit; so does Ignore, since there is no other folder whose files
    // could stand in for this one.
    while (node.error) {
        const int answer = askAboutFailure(*node.error, node.depth == 0 ? typed : path_);
        // The disk may have changed while the box was open: nothing read before it is used.
        queue.forgetReadAhead();
        lengths_.lookAgainBelow = lengths_.lengths.size();
        if (answer != mb::kIdRetry) {
            return false;
        }
        queue.readAgain(node);
    }
    // Not a folder any more, left out, or met again through a bind mount: not walked, so
    // every walk ends.
    if (!node.folder || node.folder->virtualFileSystem ||
        (node.depth > 0 && rules_.volumes.contains(node.id)) || queue.onPath(node.id)) {
        return false;
    }
    if (node.depth == 0) {
        rootDevice_ = node.id.device;
    } else if (s_.walkLimits.oneFileSystem && node.id.device != rootDevice_) {
        return false;
    }
    if (excludes_ && excluded(path_)) {
        return false;
    }
    s_.ui.controls.setCaption("lblInfo", path_);
    if (s_.bStop) {
        queue.stopReadingAhead();
        return false;
    }
    s_.ui.window.doEvents();

    levelEnds_.resize(node.depth + 1);
    levelEnds_[node.depth] = path_.size() + (path_.ends_with('/') ? 0 : 1);
    if (node.depth == 0 && rules_.skipSystem) {
        rootRealPath_ = s_.ui.fs.realPath(*node.folder);
    }
    listMatches(node);
    return true;
}

bool Walker::excluded(const std::string& path) const {
    for (std::size_t i = 0; i < excludes_->size(); ++i) {
        if (excludes_->matches(i, path)) {
            return true;
        }
    }
    return false;
}

void Walker::listMatches(const WalkNode& node) {
    if (node.matches.empty()) {
        return;
    }
    const std::size_t prefix = levelEnds_[node.depth];
    // The package database knows files by their real paths. Below the location the walk
    // takes no link, so a folder's real path is the location's followed by the same names.
    std::string real;
    if (rules_.skipSystem) {
        real = rootRealPath_;
        if (real.empty() || real.back() != '/') {
            real += '/';
        }
        if (node.depth > 0) {
            real.append(path_, levelEnds_[0]);
            real += '/';
        }
    }
    std::vector<std::string> found;
    found.reserve(node.matches.size());
    for (const FolderMatch& match : node.matches) {
        // What a package installed is a system file: the system needs it.
        if (rules_.skipSystem && s_.ui.fs.packageOwned(real + match.name)) {
            continue;
        }
        std::string& entry = found.emplace_back();
        entry.reserve(prefix + match.name.size());
        entry.append(path_).resize(prefix, '/');
        entry += match.name;
        lengths_.lengths.push_back(match.length);
    }
    if (!found.empty()) {
        s_.ui.lstFound.appendMany(std::move(found));
    }
}

}  // namespace scourix
