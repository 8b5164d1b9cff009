#include "fileops/ListedFileCheck.h"

#include <algorithm>
#include <cerrno>

#include "fileops/ActOnListed.h"
#include "types/LinuxTypes.h"

namespace scourix {

std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

ListedFileCheck::ListedFileCheck(const FileSystem& fs, FileRules rules, std::int64_t now)
    : fs_(fs), rules_(std::move(rules)), now_(now) {
    if (!rules_.anyName) {
        patterns_.emplace(rules_.patterns);
    }
    if (!rules_.excludes.empty()) {
        excludes_.emplace(rules_.excludes);
    }
    // A place that cannot be opened holds nothing that could pass.
    for (const std::string& place : rules_.places) {
        Result<OpenFolderPtr> folder = fs_.openFolder(place);
        if (folder && folder.value()) {
            std::string real = fs_.realPath(*folder.value());
            while (real.size() > 1 && real.back() == '/') {
                real.pop_back();
            }
            places_.push_back({real == "/" ? std::string() : real, folder.value()->id.device});
        }
    }
}

bool ListedFileCheck::excluded(const std::string& path) const {
    if (!excludes_) {
        return false;
    }
    for (std::size_t i = 0; i < excludes_->size(); ++i) {
        if (excludes_->matches(i, path)) {
            return true;
        }
    }
    return false;
}

bool ListedFileCheck::filtersPass(const std::string& path, const FileFacts& facts) const {
    if (excluded(path)) {
        return false;
    }
    if (rules_.largerThan && facts.length <= *rules_.largerThan) {
        return false;
    }
    if (rules_.olderThan) {
        // A stashed file's age counts from the stash, which set its change time.
        const bool stash = baseName(path).ends_with(kStashSuffix);
        const std::int64_t when = stash ? facts.ctime : facts.mtime;
        if (now_ - when <= *rules_.olderThan) {
            return false;
        }
    }
    return true;
}

CheckOutcome ListedFileCheck::checkPlace(const std::string& path, const FileFacts& facts) const {
    if (rules_.places.empty()) {
        return CheckOutcome::Pass;
    }
    // The folder's real path, as the kernel knows it: no ".." or link can pretend that a
    // file lies below a place.
    const std::string folderText = path.substr(0, path.size() - baseName(path).size());
    Result<OpenFolderPtr> folder = fs_.openFolder(folderText.empty() ? "/" : folderText);
    if (!folder || !folder.value()) {
        return CheckOutcome::OutsidePlaces;
    }
    std::string real = fs_.realPath(*folder.value());
    if (!real.ends_with('/')) {
        real += '/';
    }
    // The deepest place holding the file decides its volume.
    const Place* within = nullptr;
    for (const Place& place : places_) {
        if (real.starts_with(place.real + '/') &&
            (within == nullptr || place.real.size() > within->real.size())) {
            within = &place;
        }
    }
    if (within == nullptr) {
        return CheckOutcome::OutsidePlaces;
    }
    if (rules_.oneFileSystem && (facts.device != within->device)) {
        return CheckOutcome::OtherDevice;
    }
    return CheckOutcome::Pass;
}

bool ListedFileCheck::isCoreDump(const std::string& path) const {
    const std::string folderText = path.substr(0, path.size() - baseName(path).size());
    Result<OpenFolderPtr> folder = fs_.openFolder(folderText.empty() ? "/" : folderText);
    if (!folder || !folder.value()) {
        return false;
    }
    const Result<std::string> head = fs_.entryHead(*folder.value(), baseName(path), kElfHeadBytes);
    return head && isElfCore(head.value());
}

CheckOutcome ListedFileCheck::check(const std::string& path, FileFacts& facts, Error& error) const {
    const std::string_view name = baseName(path);
    if (path.empty() || path.front() != '/' || name.empty() || name == "." || name == ".." ||
        path.find("/../") != std::string::npos || path.find("/./") != std::string::npos) {
        return CheckOutcome::NotAbsolute;
    }
    if (!rules_.hidden && name.front() == '.') {
        return CheckOutcome::Hidden;
    }
    if (rules_.stashed && (!name.ends_with(kStashSuffix) || name == kStashSuffix)) {
        return CheckOutcome::NotStashed;
    }
    // A name that only "core" or "core.*" matches needs a look at the content as well.
    bool coreOnly = false;
    if (patterns_) {
        std::vector<std::size_t> hits;
        patterns_->matchAll(name, hits);
        if (hits.empty()) {
            return CheckOutcome::NoPattern;
        }
        coreOnly = std::all_of(hits.begin(), hits.end(),
                               [&](std::size_t i) { return needsCoreCheck(rules_.patterns[i]); });
    }
    // Every folder above the file as well: the scan would not have entered one that
    // matches.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (excluded(path.substr(0, slash))) {
            return CheckOutcome::Excluded;
        }
    }
    std::vector<Result<FileFacts>> looked;
    fs_.inspect({std::string_view(path)}, true, looked);
    if (!looked.front()) {
        error = looked.front().error();
        return error.code == ENOENT || error.code == ENOTDIR ? CheckOutcome::Gone
                                                             : CheckOutcome::Unreachable;
    }
    facts = looked.front().value();
    if (facts.kind == EntryKind::Folder || facts.kind == EntryKind::Special) {
        return CheckOutcome::NotAFile;
    }
    if (facts.packageOwned) {
        return CheckOutcome::PackageOwned;
    }
    if (coreOnly && !isCoreDump(path)) {
        return CheckOutcome::NoPattern;
    }
    if (!filtersPass(path, facts)) {
        return excluded(path) ? CheckOutcome::Excluded : CheckOutcome::Filtered;
    }
    return checkPlace(path, facts);
}

}  // namespace scourix
