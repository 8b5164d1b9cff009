#pragma once

#include "app/MainState.h"

namespace scourix {

class TypeListEditing {
public:
    explicit TypeListEditing(MainState& state) : s_(state) {}

    void cmdAdd_Click();
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
