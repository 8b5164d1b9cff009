#pragma once

#include "app/MainState.h"

namespace scourix {

class TypeDescriptions {
public:
    explicit TypeDescriptions(MainState& state) : s_(state) {}

    void mReportType_Click();

private:
    MainState& s_;
};

}  // namespace scourix
