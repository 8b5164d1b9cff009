#include "types/TypeListStore.h"

#include <algorithm>
#include <vector>

#include "app/ProgramFiles.h"
#include "types/SortOrder.h"

namespace scourix {
namespace {

// The byte length of the UTF-8 character that starts the line; a stray byte counts alone.
std::size_t firstCharLength(std::string_view line) {
    const auto lead = static_cast<unsigned char>(line[0]);
    std::size_t len = 1;
    if ((lead & 0xE0) == 0xC0) {
        len = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4;
    }
    if (len > line.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < len; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return len;
}

struct Entry {
    std::string text;
    bool ticked = false;
};

}  // namespace

std::string typeListInUse(const FileSystem& fs) {
    const std::string shared = programFile(fs, kTypeListFile);
    const std::string own = fs.userConfigFolder();
    if (own.empty() || fs.canWriteIn(fs.programFolder())) {
        return shared;
    }
    const std::string mine = own + "/" + std::string(kTypeListFile);
    const Result<std::string> found = fs.lookup(mine, Lookup::Ordinary);
    return found.ok() && !found.value().empty() ? mine : shared;
}

std::string typeListToWrite(FileSystem& fs) {
    const std::string own = fs.userConfigFolder();
    if (own.empty() || fs.canWriteIn(fs.programFolder())) {
        return programFile(fs, kTypeListFile);
    }
    // A failure to make the folder shows as the failure of the save itself.
    (void)fs.makeFolders(own);
    return own + "/" + std::string(kTypeListFile);
}

void TypeListStore::initialise() {
    // A lookup that fails is taken as "no file": the built-in list is the usable choice.
    const Result<std::string> found = s_.ui.fs.lookup(typeListInUse(s_.ui.fs), Lookup::Ordinary);
    if (found.ok() && !found.value().empty()) {
        LoadTypeList();
        return;
    }
    CheckList& list = s_.ui.lstPat;
    list.setAllChecked(true);
    list.repaint();
}

void TypeListStore::LoadTypeList() {
    CheckList& list = s_.ui.lstPat;
    list.clear();
    Result<std::vector<std::string>> lines = s_.ui.fs.readLines(typeListInUse(s_.ui.fs));
    if (!lines.ok()) {
        return;
    }
    std::vector<Entry> entries;
    for (std::string& line : lines.value()) {
        if (line.empty()) {
            continue;
        }
        // The flag is one character, read as a number: 1 to 9 tick the entry.
        const std::size_t flagLen = firstCharLength(line);
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
    list.appendMany(std::move(texts));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].ticked) {
            list.setChecked(i, true);
        }
    }
}

Status TypeListStore::SaveTypeList() {
    const CheckList& list = s_.ui.lstPat;
    std::string text;
    for (std::size_t i = 0; i < list.count(); ++i) {
        text += list.checked(i) ? '1' : '0';
        text += list.text(i);
        text += kCrLf;
    }
    return s_.ui.fs.replaceText(typeListToWrite(s_.ui.fs), text);
}

}  // namespace scourix
