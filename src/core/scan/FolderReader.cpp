#include "scan/FolderReader.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <system_error>

#include "scan/NameOrder.h"
#include "types/LinuxTypes.h"

namespace scourix {

bool FolderReader::leftOut(const WalkNode& node) const {
    return node.folder->virtualFileSystem ||
           (node.depth > 0 && rules_.volumes.contains(node.folder->id));
}

void FolderReader::read(WalkNode& node, const OpenFolder* parent,
                        std::vector<std::string>& subfolders) {
    // Reader threads have nobody to pass a failure to: it becomes the folder's error,
    // which the walk shows in its box at the folder's turn.
    int code = 0;
    try {
        readFolder(node, parent, subfolders);
        return;
    } catch (const std::bad_alloc&) {
        code = ENOMEM;
    } catch (const std::system_error& e) {
        code = e.code().value() != 0 ? e.code().value() : EIO;
    } catch (...) {
        code = EIO;
    }
    node.folder.reset();
    node.matches.clear();
    node.matches.shrink_to_fit();
    subfolders.clear();
    node.error = errorOf(code);
}

void FolderReader::readFolder(WalkNode& node, const OpenFolder* parent,
                              std::vector<std::string>& subfolders) {
    node.error.reset();
    node.folder.reset();
    node.matches.clear();
    subfolders.clear();
    Result<OpenFolderPtr> opened =
        parent != nullptr ? fs_.openSubfolder(*parent, node.name) : fs_.openFolder(node.name);
    if (!opened) {
        node.error = opened.error();
        return;
    }
    node.folder = std::move(opened).value();
    if (!node.folder) {
        return;  // a link or a file has taken the folder's place: not entered
    }
    node.id = node.folder->id;
    if (leftOut(node)) {
        return;
    }
    folder_ = node.folder.get();
    matches_ = &node.matches;
    subfolders_ = &subfolders;
    const Status status = fs_.readFolder(*node.folder, *this);
    if (!status) {
        node.error = status.error();
        node.folder.reset();
        node.matches.clear();
        subfolders.clear();
        return;
    }
    std::sort(subfolders.begin(), subfolders.end(),
              [](const std::string& a, const std::string& b) { return nameLess(a, b); });
    std::sort(node.matches.begin(), node.matches.end(),
              [](const FolderMatch& a, const FolderMatch& b) {
                  return a.pattern != b.pattern ? a.pattern < b.pattern : nameLess(a.name, b.name);
              });
}

bool FolderReader::needsContentCheck() const {
    for (std::size_t pattern : hits_) {
        if (pattern < rules_.coreOnly.size() && rules_.coreOnly[pattern]) {
            return true;
        }
    }
    return false;
}

bool FolderReader::keepCoreHits(std::string_view name, EntryKind kind) {
    // Only the file's header tells a core dump from a source file named "core".
    if (kind == EntryKind::File) {
        const Result<std::string> head = fs_.entryHead(*folder_, name, kElfHeadBytes);
        if (head && isElfCore(head.value())) {
            return true;
        }
    }
    std::erase_if(hits_, [&](std::size_t pattern) {
        return pattern < rules_.coreOnly.size() && rules_.coreOnly[pattern];
    });
    return !hits_.empty();
}

void FolderReader::entry(std::string_view name, EntryKind kind) {
    if (kind == EntryKind::Folder) {
        subfolders_->emplace_back(name);
        return;
    }
    if ((rules_.skipHidden && name.front() == '.') ||
        (rules_.skipSystem && kind == EntryKind::Special)) {
        return;
    }
    rules_.patterns->matchAll(name, hits_, scratch_);
    if (hits_.empty() || (needsContentCheck() && !keepCoreHits(name, kind))) {
        return;
    }
    const Result<std::uint64_t> length = fs_.entryLength(*folder_, name);
    for (std::size_t pattern : hits_) {
        matches_->push_back({static_cast<std::uint32_t>(pattern), std::string(name),
                             length ? length.value() : FolderMatch::kNoLength});
    }
}

}  // namespace scourix
