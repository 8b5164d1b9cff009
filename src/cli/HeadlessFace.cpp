#include "cli/HeadlessFace.h"

namespace scourix {

void HeadlessFace::setCaption(std::string_view name, std::string text) {
    if (name == "lblInfo" && onFolder) {
        onFolder(text);
    }
}

int HeadlessFace::messageBox(const std::string&, int flags, const std::string&) {
    switch (flags & 7) {
        case mb::kAbortRetryIgnore:
            return mb::kIdIgnore;
        case mb::kYesNo:
            return mb::kIdNo;
        case mb::kOk:
            return mb::kIdOk;
        default:
            return mb::kIdCancel;
    }
}

void HeadlessFace::doEvents() {
    if (onEvents) {
        onEvents();
    }
}

}  // namespace scourix
