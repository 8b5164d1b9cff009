#include "fileops/Deletion.h"
#include "platform/VisibleText.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/TextFormat.h"
#include "fileops/ActOnListed.h"
#include "infowin/InfoContent.h"

namespace scourix {

namespace {

std::size_t tickedCount(const CheckList& list) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < list.count(); ++i) {
        n += list.checked(i) ? 1 : 0;
    }
    return n;
}

}  // namespace

void Deletion::cmdKill_Click() {
    static constexpr Texts kTexts{"删除文件",
                                  "真的要永久性删除选定的 ",
                                  "永久性删除文件",
                                  "删除文件操作：(",
                                  "如果含有只读文件，是否删除？",
                                  "删除只读文件",
                                  "删除"};
    run(kTexts, false);
}

void Deletion::cmdDeltmp_Click() {
    static constexpr Texts kTexts{"暂时删除文件",
                                  "真的要重命名(改为*.del)选定的 ",
                                  "暂时性删除文件",
                                  "重命名文件操作：(",
                                  "如果含有只读文件，是否重命名？",
                                  "重命名只读文件",
                                  "重命名"};
    run(kTexts, true);
}

void Deletion::run(const Texts& texts, bool rename) {
    CheckList& found = s_.ui.lstFound;
    Dialogs& dialogs = s_.ui.dialogs;
    WindowSystem& window = s_.ui.window;

    const std::size_t ticked = tickedCount(found);
    if (ticked == 0) {
        dialogs.messageBox("没有选取任何文件。", mb::kCritical, texts.nothingTitle);
        return;
    }
    const int confirm =
        dialogs.messageBox(texts.confirm + std::to_string(ticked) + " 个文件?",
                           mb::kYesNo | mb::kExclamation | mb::kDefButton2, texts.confirmTitle);
    window.setPointer(kPointerHourglass);
    window.doEvents();
    // The header carries the time the command started, before any file is touched.
    std::string report = texts.header + formatDateTime(s_.ui.clock.now()) + ")" + kCrLf +
                         std::string(37, '-') + kCrLf;
    if (confirm != mb::kIdYes) {
        window.setPointer(kPointerDefault);
        return;
    }
    if (dialogs.messageBox(texts.readOnlyQuestion, mb::kYesNo | mb::kExclamation,
                           texts.readOnlyTitle) == mb::kIdYes) {
        attrib_.SetFileAttrib();
    }
    report += processTicked(rename);

    const std::size_t left = tickedCount(found);
    if (left > 0) {
        const std::string question = "选中的文件中有 " + std::to_string(left) + " 个文件无法" +
                                     texts.failedVerb + "！" + kCrLf + kCrLf +
                                     "是否要查看更详细的错误信息?";
        if (dialogs.messageBox(question, mb::kYesNo | mb::kCritical, "错误") == mb::kIdYes) {
            showInfo(window, InfoContent{"错误信息", report, kRed, kCream, std::nullopt});
        }
    }
    window.setPointer(kPointerDefault);
}

std::string Deletion::processTicked(bool rename) {
    CheckList& found = s_.ui.lstFound;
    FileSystem& fs = s_.ui.fs;
    std::string lines;
    std::int32_t failures = 0;
    // No event runs inside the loop, so removing the finished entries together afterwards
    // leaves the same list as removing each at once, at linear cost.
    std::vector<std::size_t> finished;
    const HeldFolders held(fs);
    // The open files are looked for once, as the command starts acting; a file opened
    // while it runs is not noticed (another pass over every process per file would cost
    // more than the whole command).
    const OpenFilesRefused inUse(fs);
    for (std::size_t i = found.count(); i-- > 0;) {
        if (!found.checked(i)) {
            continue;
        }
        const std::string& path = found.text(i);
        // An entry whose file is gone leaves without a word; so does one whose file a
        // package has installed since the scan, which is never touched.
        const Result<bool> done = actOnListed(fs, path, rename);
        if (done) {
            finished.push_back(i);
            continue;
        }
        ++failures;
        lines += std::to_string(failures) + kMark + ' ' + visibleText(path) + kMark + '[' +
                 done.error().description + ']' + kCrLf;
    }
    if (!finished.empty()) {
        std::reverse(finished.begin(), finished.end());
        found.removeMany(finished);
    }
    return lines;
}

}  // namespace scourix
