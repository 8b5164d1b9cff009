#pragma once

class QWidget;

namespace scourix {

// Twips (1/1440 inch) to pixels and back at a widget's logical resolution: 15 twips are
// one pixel at 96 dots per inch, so the design follows the screen's scale.
class Twips {
public:
    static int toPixels(int twips, double dpi);
    static int fromPixels(int pixels, double dpi);

    static double dpiX(const QWidget* widget);
    static double dpiY(const QWidget* widget);
};

}  // namespace scourix
