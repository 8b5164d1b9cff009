#include "results/ResultList.h"

namespace scourix {

void ResultList::setSelectAll(int value) {
    if (s_.ui.controls.value("chkSelAll") == value) {
        return;
    }
    s_.ui.controls.setValue("chkSelAll", value);
    chkSelAll_Click();
}

void ResultList::chkSelAll_Click() {
    s_.ui.lstFound.setAllChecked(s_.ui.controls.value("chkSelAll") != 0);
    s_.ui.lstFound.repaint();
}

}  // namespace scourix
