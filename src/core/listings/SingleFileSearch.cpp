#include "listings/SingleFileSearch.h"

#include <string>

#include "listings/PatternSnapshot.h"

namespace scourix {

void SingleFileSearch::cmdFindFile_Click() {
    Platform& ui = s_.ui;
    std::string pattern = ui.dialogs.inputBox("请输入要查找的文件名", "查找文件", "*.bak");
    // The result ticks are cleared even when the user cancels.
    setSelectAll_(0);
    if (pattern.empty()) {
        return;
    }
    // The pattern goes to the scan exactly as typed, blanks included.
    const PatternSnapshot saved(ui.lstPat);
    ui.lstPat.clear();
    ui.lstPat.append(std::move(pattern));
    ui.lstPat.setChecked(0, true);
    runScan_();
    // Whether the scan ran to the end, was stopped or was refused, the user's list returns.
    saved.restore(ui.lstPat);
}

}  // namespace scourix
