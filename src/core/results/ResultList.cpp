#include "results/ResultList.h"

namespace scourix {

namespace {
constexpr const char* kOpenCaption = "打开";
constexpr const char* kOpenPrefix = "打开 ";
}  // namespace

void ResultList::lstFound_Click() {
    // An empty current text goes through the same steps: the open commands then say
    // that no file is chosen.
    const std::string current = s_.ui.lstFound.currentText();
    Controls& c = s_.ui.controls;
    c.setCaption("lblInfo", current);
    c.setCaption("mOpen", kOpenPrefix + current);
    c.setEnabled("mOpen", true);
    c.setEnabled("cmdOpen", true);
    c.setToolTip("lstFound", current);
}

// The right button does not move the current entry: the menu concerns the entry last
// clicked, whichever one is under the pointer.
void ResultList::lstFound_MouseDown(int button, int) {
    if (button == kRightButton) {
        lstFound_Click();
    }
}

void ResultList::lstFound_MouseUp(int button, int shift) {
    if (!s_.bStop || button != kRightButton || shift != 0) {
        return;
    }
    Controls& c = s_.ui.controls;
    const std::string current = s_.ui.lstFound.currentText();
    if (current.empty()) {
        c.setCaption("mOpen", kOpenCaption);
        c.setEnabled("mOpen", false);
        return;
    }
    // A file gone since the scan, hidden, or not readable leaves the name out; the
    // open command itself then decides what to say.
    const Result<std::string> name = s_.ui.fs.lookupListed(current, Lookup::Ordinary);
    c.setCaption("mOpen", kOpenPrefix + (name ? name.value() : std::string()));
    c.setEnabled("mOpen", true);
    s_.ui.window.popupMenu("mList");
}

void ResultList::lstFound_DblClick() {
    if (showDescriptions_) {
        showDescriptions_();
    }
}

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

void ResultList::mLChSel_Click() {
    s_.ui.lstFound.invertChecks();
}

// Only the entries go: the status line, the open commands and the tick box keep their
// state.
void ResultList::mClear_Click() {
    s_.ui.lstFound.clear();
}

}  // namespace scourix
