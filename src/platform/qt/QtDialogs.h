#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace scourix {

// Message and input boxes, modal over the given window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner) : owner_(owner) {}

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

private:
    QWidget* owner_;
};

}  // namespace scourix
