#include "results/ShellCommands.h"

#include "platform/Dialogs.h"

namespace scourix {

void ShellCommands::cmdOpen_Click() {
    const std::string file = s_.ui.lstFound.currentText();
    if (file.empty()) {
        s_.ui.dialogs.messageBox(" 请先选取一个文件。", mb::kCritical, "打开文件");
        return;
    }
    // A missing association or a missing opener is worth a word; a file deleted since the
    // scan (or one a package has installed since, which is not the user's to open from
    // here), or an opener that fails on the file, passes in silence.
    const Result<std::string> listed = s_.ui.fs.lookupListed(file, Lookup::WithHiddenAndSystem);
    if (listed && listed.value().empty()) {
        return;
    }
    const OpenOutcome outcome = s_.ui.shell.openDocument(file);
    if (outcome == OpenOutcome::NoAssociation) {
        s_.ui.dialogs.messageBox("你选择的文件可能在Windows中没有关联，所以无法打开文件。",
                                 mb::kCritical, "错误");
    }
    reportOpener(s_.ui, outcome);
}

void ShellCommands::reportOpener(Platform& ui, OpenOutcome outcome) {
    if (outcome == OpenOutcome::OpenerMissing) {
        ui.dialogs.messageBox(
            "无法启动打开文件的程序 xdg-open，所以无法打开文件。请安装 xdg-utils 软件包。",
            mb::kCritical, "错误");
    }
}

// Ticks play no part: the sheet is for the current entry alone.
void ShellCommands::cmdFileAttrib_Click() {
    const CheckList& found = s_.ui.lstFound;
    if (found.currentIndex() >= 0 && !s_.ui.shell.showProperties(found.currentText())) {
        s_.ui.dialogs.messageBox(
            "无法显示文件属性：没有能显示它的文件管理器。以管理员身份运行"
            "时，程序用不到你的桌面会话。",
            mb::kCritical, "文件属性");
    }
}

}  // namespace scourix
