#pragma once

#include <string>

#include "base/MainState.h"

namespace scourix {

inline constexpr std::string_view kHomePageFile = "scourix-home.html";

// The help menu: the About text in the information window and the home page that ships
// beside the executable.
class About {
public:
    explicit About(MainState& state) : s_(state) {}

    void mAbout_Click();
    void mHomePage_Click();

    static std::string text();

private:
    MainState& s_;
};

}  // namespace scourix
