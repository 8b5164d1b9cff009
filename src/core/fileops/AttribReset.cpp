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
        // A change that fails goes unnoticed here: the deletion that follows reports the
        // file if it cannot go.
        (void)s_.ui.fs.resetAttributes(path);
    }
}

}  // namespace scourix
