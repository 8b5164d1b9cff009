#pragma once

#include <QIcon>
#include <QPixmap>

namespace scourix {

// The program's icon, a broom sweeping up a little dust on a green tile, painted in code
// so that it is sharp at every size.
class AppIcon {
public:
    static QIcon icon();
    static QPixmap pixmap(int size);
};

}  // namespace scourix
