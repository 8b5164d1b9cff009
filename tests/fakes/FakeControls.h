#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "app/WindowDesign.h"
#include "platform/Controls.h"

namespace scourix {

// The state of every control and menu of the main window by name, starting from the
// window's design: captions, tool tips, geometry, check box values, menu titles and items,
// and the design enabled states (before start-up only cmdStopFind is disabled). The window
// itself is "frmMain". An unknown name throws, so that a misspelt name fails the test.
class FakeControls : public Controls {
public:
    struct State {
        std::string caption;
        std::string toolTip;
        int value = 0;
        Rect geometry;
        bool enabled = true;
    };

    FakeControls() {
        states[std::string(kWindowName)] = {
            std::string(kWindowCaption), "", 0, {0, 0, kDesignClientWidth, kDesignClientHeight}};
        for (const ControlDesign& c : controlDesigns()) {
            states[std::string(c.name)] = {std::string(c.caption), std::string(c.toolTip), c.value,
                                           c.geometry};
        }
        for (const MenuDesign& m : menuDesigns()) {
            states[std::string(m.name)].caption = m.caption;
            for (const MenuItemDesign& item : m.items) {
                states[std::string(item.name)].caption = item.caption;
            }
        }
        states.erase("");                          // the separators
        states.at("cmdStopFind").enabled = false;  // start-up sets the rest
    }

    mutable std::map<std::string, State, std::less<>> states;
    std::string focused;

    bool enabled(std::string_view name) const { return at(name).enabled; }
    void setEnabled(std::string_view name, bool on) override { at(name).enabled = on; }
    std::string caption(std::string_view name) const override { return at(name).caption; }
    void setCaption(std::string_view name, std::string text) override {
        at(name).caption = std::move(text);
    }
    std::string toolTip(std::string_view name) const { return at(name).toolTip; }
    void setToolTip(std::string_view name, std::string text) override {
        at(name).toolTip = std::move(text);
    }
    int value(std::string_view name) const override { return at(name).value; }
    void setValue(std::string_view name, int value) override { at(name).value = value; }
    void setFocus(std::string_view name) override { focused = (at(name), std::string(name)); }
    Rect geometry(std::string_view name) const override { return at(name).geometry; }
    void setGeometry(std::string_view name, Rect r) override { at(name).geometry = r; }

private:
    State& at(std::string_view name) const {
        const auto it = states.find(name);
        return it != states.end() ? it->second
                                  : throw std::invalid_argument("FakeControls: no control named " +
                                                                std::string(name));
    }
};

}  // namespace scourix
