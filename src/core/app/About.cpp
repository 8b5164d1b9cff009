#include "app/About.h"

#include "base/ProgramFiles.h"
#include "infowin/InfoContent.h"
#include "results/ShellCommands.h"

namespace scourix {

std::string About::text() {
    const std::string br = kCrLf;
    return "Scourix 1.51" + br + br + "查找并清除垃圾文件的小工具。" + br + br +
           "它在勾选的位置中查找与勾选的文件类型相符的文件，例如临时文件、" +
           "编辑器和办公软件留下的备份文件、磁盘检查留下的文件碎片等，" +
           "列出这些文件及其总大小，然后由您决定永久删除、暂时删除（改名为 *.del）" +
           "或保留它们。" + br + br +
           "文件类型列表保存在 TypeList.ini 里：以软件包安装时在用户自己的设置文件夹中，" +
           "否则在程序文件夹中；" + "各类型的说明在 TypeRead.ini 里。" + br + br +
           "删除文件之前请仔细检查查找结果：永久删除的文件无法恢复。";
}

void About::mAbout_Click() {
    showInfo(s_.ui.window, {.heading = "关于“Scourix”",
                            .text = text(),
                            .textColor = kBlue,
                            .background = Color{150, 180, 165},
                            .fontPoints = 15.0});
}

void About::mHomePage_Click() {
    // The page lies beside the executable; the desktop opens it in its web browser.
    ShellCommands::reportOpener(s_.ui,
                                s_.ui.shell.openDocument(programFile(s_.ui.fs, kHomePageFile)));
}

}  // namespace scourix
