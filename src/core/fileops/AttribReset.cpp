#include "fileops/AttribReset.h"

#include <string>

namespace scourix {

void AttribReset::SetFileAttrib() {
    CheckList& found = s_.ui.lstFound;
    const std::size_t count = found.count();
    const HeldFolders held(s_.ui.fs);
    for (std::size_t i = 0; i < count; ++i) {
        if (!found.checked(i)) {
            continue;
        }
        const std::string& path = found.text(i);
        // A file a package has installed since the scan is left as it is.
        const Result<std::string> listed = s_.ui.fs.lookupListed(path, Lookup::WithHiddenAndSystem);
        if (listed && listed.value().empty()) {
            continue;
        }
        // A file that cannot be opened keeps its attributes without a word: the deletion
        // that follows reports it if it cannot go. Only a change that failed on a file
        // that could be opened is worth asking about, since Retry may then succeed.
        for (;;) {
            Result<bool> reset = s_.ui.fs.resetAttributes(path);
            if (reset) {
                break;
            }
            const std::string text = std::string("设置文件属性时发生错误。") + kCrLf + kCrLf +
                                     path + kCrLf + reset.error().description;
            const int answer = s_.ui.dialogs.messageBox(text, mb::kAbortRetryIgnore | mb::kCritical,
                                                        "设置文件属性");
            if (answer == mb::kIdAbort) {
                return;
            }
            if (answer != mb::kIdRetry) {
                break;
            }
        }
    }
}

}  // namespace scourix
