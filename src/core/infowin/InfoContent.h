#pragma once

#include <optional>
#include <string>

#include "platform/InfoWindow.h"
#include "platform/WindowSystem.h"

namespace scourix {

// What one caller puts into the information window.
struct InfoContent {
    std::string heading;
    std::string text;
    Color textColor = kBlue;
    Color background = kCream;
    std::optional<double> fontPoints;  // the design size when not given
};

// Loads a fresh information window, fills it, shows it modally and unloads it once the
// user has closed it. Every use starts from the window's design state.
void showInfo(WindowSystem& window, const InfoContent& content);

}  // namespace scourix
