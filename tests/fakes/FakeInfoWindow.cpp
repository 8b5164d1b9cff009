#include "fakes/FakeInfoWindow.h"

#include <stdexcept>

namespace scourix {

FakeInfoWindow::FakeInfoWindow(std::shared_ptr<Record> record,
                               std::function<void(const Record&)> onShow)
    : r_(std::move(record)), onShow_(std::move(onShow)) {}

FakeInfoWindow::~FakeInfoWindow() {
    r_->unloaded = true;
}

void FakeInfoWindow::setText(std::string text) {
    r_->text = std::move(text);
    r_->calls.emplace_back("setText");
}

void FakeInfoWindow::setTextColors(Color text, Color background) {
    r_->textColor = text;
    r_->background = background;
    r_->calls.emplace_back("setTextColors");
}

void FakeInfoWindow::setTextFontSize(double points) {
    r_->fontPoints = points;
    r_->calls.emplace_back("setTextFontSize");
}

void FakeInfoWindow::setHeading(std::string heading) {
    r_->heading = std::move(heading);
    r_->calls.emplace_back("setHeading");
}

void FakeInfoWindow::showModal() {
    if (r_->shown > 0) {
        throw std::logic_error("FakeInfoWindow: shown twice without unloading");
    }
    ++r_->shown;
    r_->calls.emplace_back("showModal");
    if (onShow_) {
        onShow_(*r_);
    }
}

}  // namespace scourix
