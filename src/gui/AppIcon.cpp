#include "gui/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace scourix {

QIcon AppIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(pixmap(size));
    }
    return icon;
}

QPixmap AppIcon::pixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / static_cast<double>(kGrid), size / static_cast<double>(kGrid));
    paint(p);
    return pm;
}

void AppIcon::paint(QPainter& p) {
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(76, 175, 110));
    tile.setColorAt(1, QColor(30, 110, 70));
    p.setPen(QPen(QColor(20, 80, 50), 1.5));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The handle, from the top right down to the bristles.
    p.setPen(QPen(QColor(120, 72, 30), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 9), QPointF(29, 38));

    // The bristles, fanning out towards the bottom left.
    QPainterPath bristles;
    bristles.moveTo(22, 34);
    bristles.lineTo(36, 43);
    bristles.lineTo(30, 58);
    bristles.quadTo(16, 56, 7, 48);
    bristles.closeSubpath();
    QLinearGradient straw(20, 36, 18, 58);
    straw.setColorAt(0, QColor(250, 215, 100));
    straw.setColorAt(1, QColor(215, 160, 40));
    p.setPen(QPen(QColor(150, 100, 20), 1.2));
    p.setBrush(straw);
    p.drawPath(bristles);
    p.setPen(QPen(QColor(170, 115, 25), 1));
    for (int i = 0; i < 4; ++i) {
        const double t = (i + 1) / 5.0;
        p.drawLine(QPointF(22 + 14 * t, 34 + 9 * t), QPointF(7 + 23 * t, 48 + 10 * t));
    }

    // The band that binds the bristles to the handle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(21, 33), QPointF(25, 28), QPointF(38, 37), QPointF(35, 42)}));

    // Dust swept aside.
    p.setBrush(QColor(235, 235, 225));
    p.drawEllipse(QPointF(44, 52), 3.2, 3.2);
    p.drawEllipse(QPointF(51, 47), 2.4, 2.4);
    p.drawEllipse(QPointF(53, 55), 2.0, 2.0);
}

}  // namespace scourix
