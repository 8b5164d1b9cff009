#include "platform/qt/Twips.h"

#include <QWidget>
#include <cmath>

namespace scourix {

int Twips::toPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int Twips::fromPixels(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

double Twips::dpiX(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi : 96;
}

double Twips::dpiY(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace scourix
