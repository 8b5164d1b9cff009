#include "scan/Locations.h"

#include <string>

namespace scourix {

void Locations::fill() {
    CheckList& list = s_.ui.lstDrive;
    for (const std::string& volume : s_.ui.fs.volumes()) {
        list.append(volume);
        // A volume without a readable medium stays listed, unticked, without a message.
        if (s_.ui.fs.probe(volume).ok()) {
            list.setChecked(list.count() - 1, true);
        }
    }
    list.append(std::string(kTempFolderEntry));
    list.setChecked(list.count() - 1, true);
}

void Locations::cmdAddPath_Click() {
    // Taken as typed: the walker reports a location that cannot be read when it gets there.
    std::string answer = s_.ui.dialogs.inputBox("请输入新的位置", "添加位置", "");
    if (!answer.empty()) {
        s_.ui.lstDrive.insert(0, std::move(answer));
    }
}

void Locations::mAddPath_Click() {
    cmdAddPath_Click();
}

void Locations::lstDrive_MouseUp(int button, int /*shift*/) {
    if (button == kRightButton) {
        s_.ui.window.popupMenu("PopDrive");
    }
}

void Locations::mDSelAll_Click() {
    s_.ui.lstDrive.setAllChecked(true);
    s_.ui.lstDrive.repaint();
}

void Locations::mDUSelAll_Click() {
    s_.ui.lstDrive.setAllChecked(false);
    s_.ui.lstDrive.repaint();
}

void Locations::mDChSell_Click() {
    s_.ui.lstDrive.invertChecks();
    s_.ui.lstDrive.repaint();
}

}  // namespace scourix
