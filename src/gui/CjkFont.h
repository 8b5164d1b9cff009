#pragma once

#include <QFont>

namespace scourix {

// A font that shows Chinese text well: SimSun when the system has it, otherwise the
// closest Song (serif) face, otherwise any Simplified Chinese face.
class CjkFont {
public:
    static QFont font(double points);
    static QString family();
};

}  // namespace scourix
