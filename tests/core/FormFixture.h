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
    // The last message box as "text|flags|title"; "" before any.
    std::string lastBox() const {
        const auto& boxes = fake.dialogs.boxes;
        return boxes.empty() ? ""
                             : boxes.back().text + "|" + std::to_string(boxes.back().flags) + "|" +
                                   boxes.back().title;
    }
};

}  // namespace scourix
