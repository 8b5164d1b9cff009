#pragma once

#include <string>

#include "base/MainState.h"
#include "fileops/AttribReset.h"

namespace scourix {

// Permanent deletion of the ticked results, and temporary deletion, which renames each
// ticked file to its own name with ".del" appended. Entries whose files went, or were
// already gone, leave the list; failures stay ticked and are offered in a report.
class Deletion {
public:
    Deletion(MainState& state, AttribReset& attrib) : s_(state), attrib_(attrib) {}

    void cmdKill_Click();
    void cmdDeltmp_Click();

    // The character that sets the path apart in a failure line (code 26).
    static constexpr char kMark = '\x1a';

private:
    // What tells the two commands apart besides the file operation.
    struct Texts {
        const char* nothingTitle;
        const char* confirm;  // followed by the count and " 个文件?"
        const char* confirmTitle;
        const char* header;  // followed by the date and time
        const char* readOnlyQuestion;
        const char* readOnlyTitle;
        const char* failedVerb;  // "删除" or "重命名"
    };

    void run(const Texts& texts, bool rename);
    // Acts on the ticked entries from the last to the first; returns the failure report's
    // lines.
    std::string processTicked(bool rename);

    MainState& s_;
    AttribReset& attrib_;
};

}  // namespace scourix
