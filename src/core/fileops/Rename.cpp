#include "fileops/Rename.h"

#include <cerrno>
#include <string>

#include "platform/VisibleText.h"

namespace scourix {

namespace {

std::string trimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void Rename::fail(const std::string& description) {
    s_.ui.dialogs.messageBox(description, mb::kCritical, "");
}

void Rename::mRename_Click() {
    CheckList& found = s_.ui.lstFound;
    const std::ptrdiff_t index = found.currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= found.count()) {
        return;  // no file to work on
    }
    const std::string path = found.text(static_cast<std::size_t>(index));
    Result<std::string> looked = s_.ui.fs.lookupListed(path, Lookup::WithHiddenAndSystem);
    if (!looked) {
        fail(looked.error().description);
        return;
    }
    const std::string& name = looked.value();
    const std::string answer = s_.ui.dialogs.inputBox("请输入新的文件名:", "改名", name);
    // The default confirmed as it was offered changes nothing, blanks and all.
    if (answer == name) {
        return;
    }
    // The name may have been typed the way names are shown, escapes and all.
    const std::string typed = decodeTyped(trimSpaces(answer));
    if (typed.empty() || typed == name) {
        return;
    }
    // A file that is gone offers an empty name, and whatever is typed then fails: never
    // rename what has taken its place.
    if (name.empty()) {
        fail(errorOf(ENOENT).description);
        return;
    }
    const std::string folder = path.substr(0, path.size() - name.size());
    // A slash would move the file out of its folder; a NUL would cut the name short.
    if (typed.find_first_of(std::string("/\0", 2)) != std::string::npos) {
        fail("文件名无效：不能含有“/”");
        return;
    }
    // The box may have been open a long time: what is there now must still be a file that
    // may be renamed, or a folder that has taken its place would be renamed instead.
    const Result<std::string> still = s_.ui.fs.lookupListed(path, Lookup::WithHiddenAndSystem);
    if (!still || still.value() != name) {
        fail(still ? errorOf(ENOENT).description : still.error().description);
        return;
    }
    const std::string renamed = folder + typed;
    // A file a running program holds open is not moved away from under it.
    const OpenFilesRefused inUse(s_.ui.fs);
    const Status moved = s_.ui.fs.renameNoReplace(folder + name, renamed);
    if (!moved) {
        fail(moved.error().description);
        return;
    }
    found.setText(static_cast<std::size_t>(index), renamed);
}

}  // namespace scourix
