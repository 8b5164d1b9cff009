#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/InfoWindow.h"

namespace scourix {

// One loaded information window. What the caller did to it is kept in a record that
// outlives the window, so that a test can look at it after the caller has unloaded it.
class FakeInfoWindow : public InfoWindow {
public:
    struct Record {
        std::string text;
        Color textColor{};          // black until the caller sets it
        Color background = kCream;  // the load handler's value
        std::string heading = "信息查看";
        int shown = 0;
        bool unloaded = false;
    };

    // onShow runs inside showModal, while the window is "on screen".
    FakeInfoWindow(std::shared_ptr<Record> record, std::function<void(const Record&)> onShow)
        : r_(std::move(record)), onShow_(std::move(onShow)) {}
    ~FakeInfoWindow() override { r_->unloaded = true; }

    void setText(std::string text) override { r_->text = std::move(text); }
    void setTextColors(Color text, Color background) override {
        r_->textColor = text;
        r_->background = background;
    }
    void setTextFontSize(double) override {}
    void setHeading(std::string heading) override { r_->heading = std::move(heading); }
    void showModal() override {
        if (r_->shown++ > 0) {
            throw std::logic_error("FakeInfoWindow: shown twice without unloading");
        }
        if (onShow_) {
            onShow_(*r_);
        }
    }

private:
    std::shared_ptr<Record> r_;
    std::function<void(const Record&)> onShow_;
};

}  // namespace scourix
