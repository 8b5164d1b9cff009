#include "results/ShellCommands.h"

#include "platform/Dialogs.h"

namespace scourix {

void ShellCommands::cmdOpen_Click() {
    const std::string file = s_.ui.lstFound.currentText();
    if (file.empty()) {
        s_.ui.dialogs.messageBox(" 请先选取一个文件。", mb::kCritical, "打开文件");
        return;
    }
    // Only a missing association is worth a word; a file deleted since the scan (or one a
    // package has installed since, which is not the user's to open from here), or an
    // opener that fails, passes in silence.
    const Result<std::string> listed = s_.ui.fs.lookupListed(file, Lookup::WithHiddenAndSystem);
    if (listed && listed.value().empty()) {
        return;
    }
    if (s_.ui.shell.openDocument(file) == OpenOutcome::NoAssociation) {
        s_.ui.dialogs.messageBox("你选择的文件可能在Windows中没有关联，所以无法打开文件。",
                                 mb::kCritical, "错误");
    }
}

// Ticks play no part: the sheet is for the current entry alone.
void ShellCommands::cmdFileAttrib_Click() {
    const CheckList& found = s_.ui.lstFound;
    if (found.currentIndex() >= 0) {
        s_.ui.shell.showProperties(found.currentText());
    }
}

}  // namespace scourix
