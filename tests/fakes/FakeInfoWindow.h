#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
        std::optional<double> fontPoints;
        int shown = 0;
        bool unloaded = false;
        // The calls in order: "setText", "setTextColors", "setTextFontSize", "setHeading",
        // "showModal".
        std::vector<std::string> calls;
    };

    // onShow runs inside showModal, while the window is "on screen".
    FakeInfoWindow(std::shared_ptr<Record> record, std::function<void(const Record&)> onShow);
    ~FakeInfoWindow() override;

    void setText(std::string text) override;
    void setTextColors(Color text, Color background) override;
    void setTextFontSize(double points) override;
    void setHeading(std::string heading) override;
    void showModal() override;

private:
    std::shared_ptr<Record> r_;
    std::function<void(const Record&)> onShow_;
};

}  // namespace scourix
