#include "platform/qt/QtCheckList.h"

#include <algorithm>

#include "platform/qt/CheckListView.h"

namespace scourix {

namespace {
const std::string kNoText;
}

QtCheckList::QtCheckList(CheckListView& view) : view_(view), model_(view.checkModel()) {}

std::size_t QtCheckList::count() const {
    return model_.size();
}

const std::string& QtCheckList::text(std::size_t i) const {
    return i < model_.size() ? model_.text(i) : kNoText;
}

bool QtCheckList::checked(std::size_t i) const {
    return i < model_.size() && model_.checked(i);
}

void QtCheckList::setChecked(std::size_t i, bool on) {
    model_.setChecked(i, on);
}

void QtCheckList::setText(std::size_t i, std::string text) {
    model_.setText(i, std::move(text));
}

// Inserting or removing single entries keeps the highlight on its entry by itself.
void QtCheckList::insert(std::size_t i, std::string text) {
    const CheckListView::QuietChanges quiet(view_);
    model_.insert(i, std::move(text));
}

void QtCheckList::append(std::string text) {
    const CheckListView::QuietChanges quiet(view_);
    model_.append(std::move(text));
}

void QtCheckList::appendMany(std::vector<std::string> texts) {
    const CheckListView::QuietChanges quiet(view_);
    model_.appendMany(std::move(texts));
}

void QtCheckList::remove(std::size_t i) {
    // The view would move the highlight to a neighbour; a removed current entry leaves
    // the list without one.
    const CheckListView::QuietChanges quiet(view_);
    const int current = view_.currentRow();
    const int row = static_cast<int>(i);
    const int expected = current < 0 || current == row ? -1 : current - (current > row ? 1 : 0);
    model_.remove(i);
    if (view_.currentRow() != expected) {
        view_.setCurrentRow(expected);
    }
}

void QtCheckList::removeMany(const std::vector<std::size_t>& ascending) {
    // The model relays itself out in one go, which forgets the highlight and the scroll
    // position; both are put back where their entries went.
    const int current = view_.currentRow();
    const int top = view_.firstVisibleRow();
    auto removedBefore = [&](int row) {
        return static_cast<int>(
            std::lower_bound(ascending.begin(), ascending.end(), static_cast<std::size_t>(row)) -
            ascending.begin());
    };
    const CheckListView::QuietChanges quiet(view_);
    const bool currentRemoved =
        current >= 0 &&
        std::binary_search(ascending.begin(), ascending.end(), static_cast<std::size_t>(current));
    const int newCurrent = current < 0 || currentRemoved ? -1 : current - removedBefore(current);
    const int newTop = std::max(0, top - removedBefore(top));

    model_.removeMany(ascending);

    view_.setCurrentRow(newCurrent);
    view_.scrollToRow(newTop);
}

void QtCheckList::clear() {
    const CheckListView::QuietChanges quiet(view_);
    model_.clear();
    view_.setCurrentRow(-1);
}

void QtCheckList::setAllChecked(bool on) {
    model_.setAllChecked(on);
}

void QtCheckList::invertChecks() {
    model_.invertChecks();
}

std::ptrdiff_t QtCheckList::currentIndex() const {
    return view_.currentRow();
}

std::string QtCheckList::currentText() const {
    const int row = view_.currentRow();
    return row < 0 ? std::string() : model_.text(static_cast<std::size_t>(row));
}

// Also the moment for the view to hear of entries appended in the meantime.
void QtCheckList::repaint() {
    model_.showPending();
    view_.viewport()->update();
}

}  // namespace scourix
