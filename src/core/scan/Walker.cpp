#include "scan/Walker.h"

#include <algorithm>

#include "platform/Dialogs.h"
#include "scan/NameOrder.h"

namespace scourix {

void Walker::begin(bool skipHidden, bool skipSystem) {
    std::vector<std::string> texts;
    const CheckList& pat = s_.ui.lstPat;
    texts.reserve(pat.count());
    for (std::size_t i = 0; i < pat.count(); ++i) {
        texts.push_back(pat.text(i));
    }
    patterns_.emplace(texts);
    byPattern_.assign(texts.size(), {});
    skipHidden_ = skipHidden;
    skipSystem_ = skipSystem;
    onPath_.clear();
}

int Walker::askAboutFailure(const Error& error, const std::string& path) {
    return s_.ui.dialogs.messageBox(error.description + "." + kCrLf + path,
                                    mb::kAbortRetryIgnore | mb::kCritical, "查找文件");
}

void Walker::Dirs(const std::string& path) {
    if (!patterns_) {
        begin(skipHidden_, skipSystem_);
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

    // Read the folder. Abort ends this call; so does Ignore, since there is no other
    // folder whose files could stand in for this one.
    FolderListing listing;
    for (;;) {
        auto result = s_.ui.fs.listFolder(where);
        if (result) {
            listing = std::move(result).value();
            break;
        }
        if (askAboutFailure(result.error(), path) != mb::kIdRetry) {
            return;
        }
    }
    if (listing.virtualFileSystem) {
        return;
    }
    const FolderId id{listing.device, listing.inode};
    if (std::find(onPath_.begin(), onPath_.end(), id) != onPath_.end()) {
        return;
    }

    s_.ui.controls.setCaption("lblInfo", listing.path);
    if (s_.bStop) {
        return;
    }
    s_.ui.window.doEvents();

    const std::string prefix =
        listing.path.empty() || listing.path.back() != '/' ? listing.path + "/" : listing.path;
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return nameLess(a.name, b.name); });
    listMatches(listing, prefix);

    // The listing is this call's own copy, so the subfolders can be walked from it.
    onPath_.push_back(id);
    for (const FolderEntry& entry : listing.entries) {
        if (entry.isFolder) {
            Dirs(prefix + entry.name);
        }
    }
    onPath_.pop_back();
}

bool Walker::listMatches(const FolderListing& listing, const std::string& prefix) {
    bool any = false;
    for (const FolderEntry& entry : listing.entries) {
        if (entry.isFolder || (entry.hidden && skipHidden_) || (entry.system && skipSystem_)) {
            continue;
        }
        patterns_->matchAll(entry.name, matched_);
        for (std::size_t p : matched_) {
            byPattern_[p].push_back(prefix + entry.name);
            any = true;
        }
    }
    if (!any) {
        return false;
    }
    // Results come grouped by pattern, in lstPat's order; within a pattern in name order.
    std::vector<std::string> found;
    for (auto& group : byPattern_) {
        std::move(group.begin(), group.end(), std::back_inserter(found));
        group.clear();
    }
    s_.ui.lstFound.appendMany(std::move(found));
    return true;
}

}  // namespace scourix
