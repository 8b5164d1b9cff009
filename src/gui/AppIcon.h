#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace scourix {

// The program's icon, a broom sweeping up a little dust on a green tile, painted in code
// so that it is sharp at every size.
class AppIcon {
public:
    // The drawing's own grid: it fills 0..kGrid on both axes.
    static constexpr int kGrid = 64;

    static QIcon icon();
    static QPixmap pixmap(int size);
    // Paints the drawing on the grid; the painter's transformation scales it. The build's
    // icon tool paints it into the PNG and SVG files the desktop's icon theme takes.
    static void paint(QPainter& p);
};

}  // namespace scourix
