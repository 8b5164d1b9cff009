#include "listings/TempListing.h"

#include <algorithm>
#include <vector>

#include "listings/PatternSnapshot.h"
#include "platform/Dialogs.h"

namespace scourix {

void TempListing::mListtempfiles_Click() {
    // The enable switch leaves this command on during a scan; it must neither rewrite the
    // lists under the running walk nor start a scan inside it.
    if (!s_.bStop || s_.scanActive) {
        return;
    }
    Platform& ui = s_.ui;
    ui.dialogs.messageBox("单击确定在表中列出Windows临时文件夹中的所有文件。", mb::kInformation,
                          "列出临时文件");

    // Only the last location, the temporary folder, is searched.
    CheckList& drives = ui.lstDrive;
    const std::size_t others = drives.count() > 0 ? drives.count() - 1 : 0;
    std::vector<bool> driveTicks(others);
    for (std::size_t i = 0; i < others; ++i) {
        driveTicks[i] = drives.checked(i);
        drives.setChecked(i, false);
    }
    if (drives.count() > 0) {
        drives.setChecked(drives.count() - 1, true);
    }

    const PatternSnapshot saved(ui.lstPat);
    ui.lstPat.clear();
    ui.lstPat.insert(0, "*.*");
    ui.lstPat.setChecked(0, true);
    runScan_();

    // The temporary-folder entry stays ticked; the other locations get their ticks back.
    const std::size_t restorable = std::min(others, drives.count());
    for (std::size_t i = 0; i < restorable; ++i) {
        drives.setChecked(i, driveTicks[i]);
    }
    saved.restore(ui.lstPat);
}

}  // namespace scourix
