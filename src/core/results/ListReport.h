#pragma once

#include <string>

#include "base/MainState.h"

namespace scourix {

// The list file: the result list with a header that describes the last scan. Written as
// the scan report (shown in the information window) or saved under a name the user
// gives (opened in the desktop's text editor).
class ListReport {
public:
    explicit ListReport(MainState& state) : s_(state) {}

    // Writes the list file to filename, then shows it.
    void ViewInfo(const std::string& filename);
    void mSaveList_Click();

    // The list file's text as it would be written now.
    std::string listFileText() const;

    // Appends ".txt" unless a "." stands among the last five characters of a name longer
    // than four characters.
    static std::string applyExtensionRule(const std::string& name);
    // "查找2026_12_05_2230.txt".
    static std::string defaultListName(const DateTime& t);

private:
    // Whether a file answers to name, as a file search finds one: "*" and "?" in the name
    // part match as in the patterns, folders do not count, hidden and system files do.
    bool fileAnswersTo(const std::string& name) const;

    MainState& s_;
};

}  // namespace scourix
