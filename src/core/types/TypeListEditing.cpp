#include "types/TypeListEditing.h"

#include <string>

#include "base/ProgramFiles.h"
#include "platform/Dialogs.h"
#include "types/BuiltInTypes.h"
#include "types/LinuxTypes.h"
#include "types/SortOrder.h"
#include "types/TypeListStore.h"

namespace scourix {

void TypeListEditing::cmdAdd_Click() {
    // Any text is a pattern: blanks, odd characters and copies of an entry go in as typed.
    std::string answer = s_.ui.dialogs.inputBox("请输入类型", "", "");
    if (!answer.empty()) {
        SortOrder::insertSorted(s_.ui.lstPat, std::move(answer));
    }
}

void TypeListEditing::mAddLinuxTypes_Click() {
    // Only what is missing goes in, so a second click changes nothing; a pattern already
    // in the list keeps its tick.
    CheckList& list = s_.ui.lstPat;
    bool added = false;
    for (std::string_view pattern : linuxTypes()) {
        bool present = false;
        for (std::size_t i = 0; i < list.count() && !present; ++i) {
            present = list.text(i) == pattern;
        }
        if (!present) {
            list.setChecked(SortOrder::insertSorted(list, std::string(pattern)), true);
            added = true;
        }
    }
    if (added) {
        list.repaint();
    }
}

void TypeListEditing::cmdRemove_Click() {
    CheckList& list = s_.ui.lstPat;
    const std::ptrdiff_t current = list.currentIndex();
    if (current > -1) {
        list.remove(static_cast<std::size_t>(current));
    }
}

void TypeListEditing::mResetType_Click() {
    Platform& ui = s_.ui;
    const int answer =
        ui.dialogs.messageBox("你真的要恢复所有类型到初始状态吗？此举将重新启动程序。",
                              mb::kYesNo | mb::kExclamation, "恢复列表");
    if (answer != mb::kIdYes) {
        return;
    }
    // Only an ordinary file is ever loaded at start-up, so only such a file stands in the
    // way of the built-in list. A lookup that fails counts as no file, as at start-up.
    const auto exists = [&](const std::string& path) {
        const Result<std::string> found = ui.fs.lookup(path, Lookup::Ordinary);
        return found.ok() && !found.value().empty();
    };
    // The copy in use is deleted: the user's own when the program folder cannot be
    // written. A copy in such a folder cannot be deleted, and the next start would read it
    // again: a copy of the user's own holding the built-in list then stands in front of it.
    const std::string shared = programFile(ui.fs, kTypeListFile);
    const std::string own = typeListToWrite(ui.fs);
    const std::string inUse = typeListInUse(ui.fs);
    Status restored;
    // Without a settings folder an installed program keeps no list: there is nothing to restore.
    if (!own.empty() && own != shared && exists(shared)) {
        restored = ui.fs.replaceText(own, builtInTypeList());
    } else if (exists(inUse)) {
        restored = ui.fs.removeFile(inUse);
    }
    if (!restored.ok()) {
        // Ending now would bring the old list back at the next start: say why and stay.
        ui.dialogs.messageBox(restored.error().description, mb::kCritical, "恢复列表");
        return;
    }
    ui.dialogs.messageBox("请重新启动程序。", mb::kInformation, ui.controls.caption(kWindowName));
    // The closing procedure must not run: it would write the list back to the file.
    ui.window.endNow();
}

void TypeListEditing::mTSelAll_Click() {
    s_.ui.lstPat.setAllChecked(true);
    s_.ui.lstPat.repaint();
}

void TypeListEditing::mTUSelAll_Click() {
    s_.ui.lstPat.setAllChecked(false);
    s_.ui.lstPat.repaint();
}

void TypeListEditing::mTChSel_Click() {
    s_.ui.lstPat.invertChecks();
    s_.ui.lstPat.repaint();
}

void TypeListEditing::lstPat_Click() {
    // The last clicked pattern stays the list's tool tip until the next click.
    s_.ui.controls.setToolTip("lstPat", s_.ui.lstPat.currentText());
}

void TypeListEditing::lstPat_MouseUp(int button, int /*shift*/) {
    // The current entry stays as it was: "删除类型" from this menu removes that one.
    if (button == kRightButton) {
        s_.ui.window.popupMenu("PopType");
    }
}

}  // namespace scourix
