#pragma once

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"

namespace scourix {

// A freshly created main window over fakes, before Form_Load.
class FormFixture : public ::testing::Test {
protected:
    FakePlatform fake;
    MainForm form{fake.platform()};
    MainState& state = form.state();

    std::string typeListPath() const { return fake.fs.program + "/TypeList.ini"; }
};

}  // namespace scourix
