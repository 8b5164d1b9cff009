#include "types/TypeListStore.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "base/ProgramFiles.h"
#include "base/Utf8.h"
#include "types/SortOrder.h"

namespace scourix {
namespace {

struct Entry {
    std::string text;
    bool ticked = false;
};

// The package puts this file beside the executable: such a program folder is never
// written, even by root, so that removing the package leaves nothing behind.
bool installedAsPackage(const FileSystem& fs) {
    const Result<std::string> found =
        fs.lookup(programFile(fs, kInstalledMarker), Lookup::Ordinary);
    return found.ok() && !found.value().empty();
}

// "" when the user has no settings folder: the list then has no place of its own.
std::string usersCopy(const std::string& own) {
    return own.empty() ? own : own + "/" + std::string(kTypeListFile);
}

}  // namespace

std::string typeListInUse(const FileSystem& fs) {
    const std::string shared = programFile(fs, kTypeListFile);
    const std::string own = fs.userConfigFolder();
    if (installedAsPackage(fs)) {
        return usersCopy(own);
    }
    if (own.empty() || fs.canWriteIn(fs.programFolder())) {
        return shared;
    }
    const std::string mine = usersCopy(own);
    const Result<std::string> found = fs.lookup(mine, Lookup::Ordinary);
    return found.ok() && !found.value().empty() ? mine : shared;
}

std::string typeListToWrite(FileSystem& fs) {
    const std::string own = fs.userConfigFolder();
    if (!installedAsPackage(fs) && (own.empty() || fs.canWriteIn(fs.programFolder()))) {
        return programFile(fs, kTypeListFile);
    }
    if (own.empty()) {
        return own;
    }
    // A failure to make the folder shows as the failure of the save itself.
    (void)fs.makeFolders(own);
    return usersCopy(own);
}

void TypeListStore::initialise() {
    // A lookup that fails is taken as "no file": the built-in list is the usable choice.
    // So is a file that cannot be read, which the built-in list then must not replace.
    const Result<std::string> found = s_.ui.fs.lookup(typeListInUse(s_.ui.fs), Lookup::Ordinary);
    if (found.ok() && !found.value().empty() && LoadTypeList()) {
        return;
    }
    CheckList& list = s_.ui.lstPat;
    list.setAllChecked(true);
    list.repaint();
}

bool TypeListStore::LoadTypeList() {
    CheckList& list = s_.ui.lstPat;
    const std::string path = typeListInUse(s_.ui.fs);
    Result<std::vector<std::string>> lines = s_.ui.fs.readLines(path, kMaxTypeLines);
    if (!lines.ok()) {
        Error error = lines.error();
        if (error.code == EFBIG) {
            error.description = "TypeList.ini太大（最多" + std::to_string(kMaxTypeLines) +
                                "个类型），没有读取，也不会被改写。";
        }
        unreadable_.emplace(path, std::move(error));
        return false;
    }
    std::vector<Entry> entries;
    for (std::string& line : lines.value()) {
        if (line.empty()) {
            continue;
        }
        // The flag is one character, read as a number: 1 to 9 tick the entry.
        std::size_t flagLen = 0;
        utf8::next(line, flagLen);
        const bool ticked = flagLen == 1 && line[0] >= '1' && line[0] <= '9';
        entries.push_back({line.substr(flagLen), ticked});
    }
    // The order is total, so a stable sort places every entry where inserting the lines one
    // by one at their sorted places would, equal texts in file order, in one list update.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return SortOrder::less(a.text, b.text);
    });
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (Entry& e : entries) {
        texts.push_back(std::move(e.text));
    }
    // Only now, so that running out of memory above leaves the list as it was.
    list.clear();
    list.appendMany(std::move(texts));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].ticked) {
            list.setChecked(i, true);
        }
    }
    return true;
}

Status TypeListStore::SaveTypeList() {
    const std::string path = typeListToWrite(s_.ui.fs);
    // What could not be read is not overwritten with a list the user never had.
    if (unreadable_ && unreadable_->first == path) {
        return unreadable_->second;
    }
    if (keepFile_) {
        return {};
    }
    const CheckList& list = s_.ui.lstPat;
    std::string text;
    for (std::size_t i = 0; i < list.count(); ++i) {
        text += list.checked(i) ? '1' : '0';
        text += list.text(i);
        text += kCrLf;
    }
    // Installed, with no settings folder at all, there is nowhere to keep it.
    return path.empty() ? Status{} : s_.ui.fs.replaceText(path, text);
}

}  // namespace scourix
