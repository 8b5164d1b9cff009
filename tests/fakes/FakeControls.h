#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Controls.h"

namespace scourix {

// The state of every control and menu of the main window by name, starting from the
// window's design: captions, tool tips, geometry, check box values, menu titles and items,
// and the design enabled states (before start-up only cmdStopFind is disabled). The window
// itself is "frmMain". An unknown name throws, so that a misspelt name fails the test.
class FakeControls : public Controls {
public:
    struct State {
        bool enabled = true;
        std::string caption;
        std::string toolTip;
        int value = 0;
        bool visible = true;
        Rect geometry;
    };

    FakeControls();

    std::map<std::string, State, std::less<>> states;
    // Every setEnabled call in order.
    std::vector<std::pair<std::string, bool>> enableLog;
    std::string focused;

    bool enabled(std::string_view name) const override { return at(name).enabled; }
    void setEnabled(std::string_view name, bool on) override;

    std::string caption(std::string_view name) const override { return at(name).caption; }
    void setCaption(std::string_view name, std::string text) override {
        at(name).caption = std::move(text);
    }

    std::string toolTip(std::string_view name) const override { return at(name).toolTip; }
    void setToolTip(std::string_view name, std::string text) override {
        at(name).toolTip = std::move(text);
    }

    int value(std::string_view name) const override { return at(name).value; }
    void setValue(std::string_view name, int value) override { at(name).value = value; }

    bool visible(std::string_view name) const override { return at(name).visible; }
    void setVisible(std::string_view name, bool on) override { at(name).visible = on; }

    void setFocus(std::string_view name) override;

    Rect geometry(std::string_view name) const override { return at(name).geometry; }
    void setGeometry(std::string_view name, Rect r) override { at(name).geometry = r; }

private:
    State& at(std::string_view name) { return const_cast<State&>(std::as_const(*this).at(name)); }
    const State& at(std::string_view name) const;
};

}  // namespace scourix
