#include "scan/ResultChecks.h"
#include "platform/VisibleText.h"

#include <vector>

#include "platform/Dialogs.h"

namespace scourix {

std::uint64_t ResultChecks::FilesSize() {
    std::uint64_t total = 0;
    // Entries come folder by folder: each folder is reached once for all its files.
    const HeldFolders held(s_.ui.fs);
    const CheckList& found = s_.ui.lstFound;
    const std::size_t count = found.count();
    for (std::size_t i = 0; i < count; ++i) {
        for (;;) {
            auto length = s_.ui.fs.fileLength(found.text(i));
            if (length) {
                total += length.value();
                break;
            }
            const std::string text = std::string("读取文件长度时发生错误。") + kCrLf + kCrLf +
                                     visibleText(found.text(i)) + kCrLf +
                                     length.error().description;
            const int answer = s_.ui.dialogs.messageBox(text, mb::kAbortRetryIgnore | mb::kCritical,
                                                        "读取文件长度");
            if (answer == mb::kIdAbort) {
                return total;
            }
            if (answer != mb::kIdRetry) {
                break;
            }
        }
    }
    return total;
}

void ResultChecks::CheckFiles() {
    CheckList& found = s_.ui.lstFound;
    const HeldFolders held(s_.ui.fs);
    std::vector<std::size_t> gone;
    for (std::size_t i = 0; i < found.count(); ++i) {
        auto name = s_.ui.fs.lookupListed(found.text(i), Lookup::WithHidden);
        if (name && name.value().empty()) {
            gone.push_back(i);
        }
    }
    if (!gone.empty()) {
        found.removeMany(gone);
    }
    found.repaint();
}

}  // namespace scourix
