#include "cli/MemoryList.h"

namespace scourix {

void MemoryList::insert(std::size_t i, std::string text) {
    texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(i), std::move(text));
    ticks_.insert(ticks_.begin() + static_cast<std::ptrdiff_t>(i), false);
}

void MemoryList::append(std::string text) {
    texts_.push_back(std::move(text));
    ticks_.push_back(false);
}

void MemoryList::appendMany(std::vector<std::string> texts) {
    for (std::string& t : texts) {
        append(std::move(t));
    }
}

void MemoryList::remove(std::size_t i) {
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(i));
    ticks_.erase(ticks_.begin() + static_cast<std::ptrdiff_t>(i));
}

void MemoryList::removeMany(const std::vector<std::size_t>& ascending) {
    for (std::size_t k = ascending.size(); k-- > 0;) {
        remove(ascending[k]);
    }
}

void MemoryList::clear() {
    texts_.clear();
    ticks_.clear();
    current_ = -1;
}

void MemoryList::setAllChecked(bool on) {
    ticks_.assign(ticks_.size(), on);
}

void MemoryList::invertChecks() {
    ticks_.flip();
}

std::string MemoryList::currentText() const {
    return current_ >= 0 && static_cast<std::size_t>(current_) < texts_.size()
               ? texts_[static_cast<std::size_t>(current_)]
               : std::string();
}

std::vector<std::string> MemoryList::tickedTexts() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (ticks_[i]) {
            out.push_back(texts_[i]);
        }
    }
    return out;
}

}  // namespace scourix
