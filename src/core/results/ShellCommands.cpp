#include "results/ShellCommands.h"

#include "platform/Dialogs.h"

namespace scourix {

namespace {

// Enough of a file's start for the desktop to tell its type.
constexpr std::size_t kHeadBytes = 4096;

}  // namespace

// The desktop is given the checked file's real path, never the entry's text: the text may
// now lead through another user's link to a file the scan never saw.
std::string ShellCommands::checkedFile(std::size_t headBytes, std::string* head) const {
    const Result<CheckedFile> checked =
        s_.ui.fs.checkedRegularFile(s_.ui.lstFound.currentText(), headBytes);
    if (!checked) {
        return {};
    }
    if (head != nullptr) {
        *head = checked.value().head;
    }
    return checked.value().realPath;
}

void ShellCommands::cmdOpen_Click() {
    if (s_.ui.lstFound.currentText().empty()) {
        s_.ui.dialogs.messageBox(" 请先选取一个文件。", mb::kCritical, "打开文件");
        return;
    }
    // A missing association or a missing opener is worth a word. A file deleted since the
    // scan, one a package has installed since (not the user's to open from here), one that
    // cannot be reached safely or is no regular file, and an opener that fails on the file
    // pass in silence.
    std::string head;
    const std::string path = checkedFile(kHeadBytes, &head);
    if (path.empty()) {
        return;
    }
    const OpenOutcome outcome = s_.ui.shell.openDocument(path, head);
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
    if (s_.ui.lstFound.currentIndex() < 0) {
        return;
    }
    const std::string path = checkedFile(0, nullptr);
    if (!path.empty() && !s_.ui.shell.showProperties(path)) {
        s_.ui.dialogs.messageBox(
            "无法显示文件属性：没有能显示它的文件管理器。以管理员身份运行"
            "时，程序用不到你的桌面会话。",
            mb::kCritical, "文件属性");
    }
}

}  // namespace scourix
