#include "infowin/InfoContent.h"

#include <memory>

namespace scourix {

void showInfo(WindowSystem& window, const InfoContent& content) {
    std::unique_ptr<InfoWindow> info = window.loadInfoWindow();
    info->setText(content.text);
    info->setTextColors(content.textColor, content.background);
    if (content.fontPoints) {
        info->setTextFontSize(*content.fontPoints);
    }
    info->setHeading(content.heading);
    info->showModal();
    // Leaving the scope unloads the window with its text.
}

}  // namespace scourix
