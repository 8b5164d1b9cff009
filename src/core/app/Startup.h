#pragma once

#include <string_view>

#include "base/MainState.h"

namespace scourix {

class Locations;
class TypeListStore;

// The main window's life: start-up, the switch between the idle and the scanning state,
// and closing.
class Startup {
public:
    Startup(MainState& state, Locations& locations, TypeListStore& types)
        : s_(state), locations_(locations), types_(types) {}

    void Form_Load();
    // Sets the 26 commands that a scan must not reach all to en.
    void SetEn(bool en);
    // Returns Cancel: true keeps the window open.
    bool Form_Unload();

private:
    void reportCloseFailure(const Error& error);

    MainState& s_;
    Locations& locations_;
    TypeListStore& types_;
};

}  // namespace scourix
