#include "scan/ResultChecks.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/VisibleText.h"
#include "scan/FactsAhead.h"

namespace scourix {

std::uint64_t ResultChecks::FilesSize() {
    std::uint64_t total = 0;
    const CheckList& found = s_.ui.lstFound;
    std::optional<FactsAhead> ahead;
    const std::size_t count = found.count();
    for (std::size_t i = 0; i < count; ++i) {
        if (!ahead) {
            ahead.emplace(s_.ui.fs, found, false, s_.readerThreads(), i);
        }
        const Result<FileFacts>& facts = ahead->at(i);
        Result<std::uint64_t> length =
            facts ? Result<std::uint64_t>(facts.value().length) : facts.error();
        while (!length) {
            const std::string text = std::string("读取文件长度时发生错误。") + kCrLf + kCrLf +
                                     visibleText(found.text(i)) + kCrLf +
                                     length.error().description;
            const int answer = s_.ui.dialogs.messageBox(text, mb::kAbortRetryIgnore | mb::kCritical,
                                                        "读取文件长度");
            // The disk may have changed while the box was open: the lengths looked at ahead
            // are looked at again.
            ahead.reset();
            if (answer == mb::kIdAbort) {
                return total;
            }
            if (answer != mb::kIdRetry) {
                break;
            }
            length = s_.ui.fs.fileLength(found.text(i));
        }
        total += length ? length.value() : 0;
    }
    return total;
}

void ResultChecks::CheckFiles() {
    CheckList& found = s_.ui.lstFound;
    std::vector<std::size_t> gone;
    {
        FactsAhead ahead(s_.ui.fs, found, true, s_.readerThreads());
        for (std::size_t i = 0; i < found.count(); ++i) {
            // Gone, a folder, a system file or a package's: not a file the list may offer. A
            // look that fails otherwise (a volume gone away) keeps the entry.
            const Result<FileFacts>& facts = ahead.at(i);
            const bool missing =
                facts ? facts.value().kind == EntryKind::Folder ||
                            facts.value().kind == EntryKind::Special || facts.value().packageOwned
                      : facts.error().code == ENOENT || facts.error().code == ENOTDIR;
            if (missing) {
                gone.push_back(i);
            }
        }
    }
    if (!gone.empty()) {
        found.removeMany(gone);
    }
    found.repaint();
}

}  // namespace scourix
