#include "listings/PatternSnapshot.h"

namespace scourix {

PatternSnapshot::PatternSnapshot(const CheckList& list) {
    texts_.reserve(list.count());
    ticks_.reserve(list.count());
    for (std::size_t i = 0; i < list.count(); ++i) {
        texts_.push_back(list.text(i));
        ticks_.push_back(list.checked(i));
    }
}

void PatternSnapshot::restore(CheckList& list) const {
    // Appended, not inserted at sorted places: the saved order is the list's order, and
    // equal texts keep their places.
    list.clear();
    list.appendMany(texts_);
    for (std::size_t i = 0; i < ticks_.size(); ++i) {
        if (ticks_[i]) {
            list.setChecked(i, true);
        }
    }
}

}  // namespace scourix
