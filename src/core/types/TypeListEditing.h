#pragma once

#include "base/MainState.h"

namespace scourix {

// The user's edits of lstPat: add, remove, the tick commands, the restore of the built-in
// list, and the list's tool tip and right-click menu. Edits live in the list until the
// window closes and saves it.
class TypeListEditing {
public:
    explicit TypeListEditing(MainState& state) : s_(state) {}

    void cmdAdd_Click();
    // Adds the Linux set's patterns that the list lacks, ticked, each at its sorted place.
    void mAddLinuxTypes_Click();
    void cmdRemove_Click();
    void mResetType_Click();
    void mTSelAll_Click();
    void mTUSelAll_Click();
    void mTChSel_Click();
    void lstPat_Click();
    void lstPat_MouseUp(int button, int shift);

private:
    MainState& s_;
};

}  // namespace scourix
