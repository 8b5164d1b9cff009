#pragma once

#include <string_view>

#include "base/MainState.h"

namespace scourix {

// The entry that stands for the system's temporary folder; always the last of lstDrive.
inline constexpr std::string_view kTempFolderEntry = "临时文件夹";

// The search locations lstDrive: the volumes and the temporary-folder entry filled at
// start-up, the user's own locations added at the top, and the tick commands.
class Locations {
public:
    explicit Locations(MainState& state) : s_(state) {}

    // Start-up: every volume in the platform's order, ticked when it can be read, then the
    // temporary-folder entry, ticked.
    void fill();

    void cmdAddPath_Click();
    void mAddPath_Click();
    void lstDrive_MouseUp(int button, int shift);
    void mDSelAll_Click();
    void mDUSelAll_Click();
    void mDChSell_Click();

private:
    MainState& s_;
};

}  // namespace scourix
