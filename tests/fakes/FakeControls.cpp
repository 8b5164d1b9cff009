#include "fakes/FakeControls.h"

#include <stdexcept>

#include "app/WindowDesign.h"

namespace scourix {

FakeControls::FakeControls() {
    states[std::string(kWindowName)] = {true, std::string(kWindowCaption),
                                        "",   0,
                                        true, {0, 0, kDesignClientWidth, kDesignClientHeight}};
    for (const ControlDesign& c : controlDesigns()) {
        states[std::string(c.name)] = {
            true, std::string(c.caption), std::string(c.toolTip), c.value, true, c.geometry};
    }
    for (const MenuDesign& m : menuDesigns()) {
        states[std::string(m.name)].caption = m.caption;
        for (const MenuItemDesign& item : m.items) {
            if (!item.name.empty()) {
                states[std::string(item.name)].caption = item.caption;
            }
        }
    }
    // The hidden listers of the window.
    for (const char* hidden : {"Drive1", "Dir1", "File1"}) {
        states[hidden].visible = false;
    }
    // In the design only the stop button is disabled; start-up sets the rest.
    states.at("cmdStopFind").enabled = false;
}

void FakeControls::setEnabled(std::string_view name, bool on) {
    at(name).enabled = on;
    enableLog.emplace_back(std::string(name), on);
}

void FakeControls::setFocus(std::string_view name) {
    at(name);
    focused = std::string(name);
}

const FakeControls::State& FakeControls::at(std::string_view name) const {
    auto it = states.find(name);
    if (it == states.end()) {
        throw std::invalid_argument("FakeControls: no control named " + std::string(name));
    }
    return it->second;
}

}  // namespace scourix
