#include "scan/ResultChecks.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/VisibleText.h"
#include "scan/FactsAhead.h"
#include "scan/WalkNode.h"

namespace scourix {

std::uint64_t ResultChecks::FilesSize(WalkLengths taken) {
    std::uint64_t total = 0;
    const CheckList& found = s_.ui.lstFound;
    const std::size_t count = found.count();
    const std::vector<std::uint64_t>& lengths = taken.lengths;
    std::size_t lookAgainBelow = lengths.size() == count ? taken.lookAgainBelow : count;
    std::optional<FactsAhead> ahead;
    for (std::size_t i = 0; i < count; ++i) {
        Result<std::uint64_t> length = std::uint64_t{0};
        if (i < lookAgainBelow) {
            if (!ahead) {
                ahead.emplace(s_.ui.fs, found, false, s_.readerThreads(), i, lookAgainBelow);
            }
            const Result<FileFacts>& facts = ahead->at(i);
            length = facts ? Result<std::uint64_t>(facts.value().length) : facts.error();
        } else if (lengths[i] != FolderMatch::kNoLength) {
            length = lengths[i];
        } else {
            length = s_.ui.fs.fileLength(found.text(i));
        }
        while (!length) {
            const std::string text = std::string("读取文件长度时发生错误。") + kCrLf + kCrLf +
                                     visibleText(found.text(i)) + kCrLf +
                                     length.error().description;
            const int answer = s_.ui.dialogs.messageBox(text, mb::kAbortRetryIgnore | mb::kCritical,
                                                        "读取文件长度");
            // The disk may have changed while the box was open: every length taken before it
            // is looked at again.
            ahead.reset();
            lookAgainBelow = count;
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
