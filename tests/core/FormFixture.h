#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"

namespace scourix {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

// A message box as "text|flags|title"; an input box as "prompt|title|default".
inline std::string boxText(const FakeDialogs::Box& b) {
    return b.text + "|" + std::to_string(b.flags) + "|" + b.title;
}
inline std::string boxText(const FakeDialogs::Input& in) {
    return in.prompt + "|" + in.title + "|" + in.defaultText;
}

// Fills a list with texts, ticked as given (the rest unticked).
inline void fill(FakeCheckList& list, const Texts& texts, const Ticks& ticks = {}) {
    list.setTexts(texts);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        list.setChecked(i, ticks[i]);
    }
}

// The input boxes shown, in order.
inline Texts inputTexts(const FakeDialogs& dialogs) {
    Texts shown;
    for (const FakeDialogs::Input& in : dialogs.inputBoxes) {
        shown.push_back(boxText(in));
    }
    return shown;
}
// The message boxes shown since the last call, in order.
inline Texts takeBoxes(FakeDialogs& dialogs) {
    Texts shown;
    for (const FakeDialogs::Box& b : dialogs.boxes) {
        shown.push_back(boxText(b));
    }
    dialogs.boxes.clear();
    return shown;
}

// A freshly created main window over fakes, before Form_Load.
class FormFixture : public ::testing::Test {
protected:
    FakePlatform fake;
    MainForm form{fake.platform()};
    MainState& state = form.state();

    std::string typeListPath() const { return fake.fs.program + "/TypeList.ini"; }
    // The last message box; "" before any.
    std::string lastBox() const {
        return fake.dialogs.boxes.empty() ? "" : boxText(fake.dialogs.boxes.back());
    }
};

}  // namespace scourix
