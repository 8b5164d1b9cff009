#include "fakes/FakeCheckList.h"

#include <stdexcept>

namespace scourix {

FakeCheckList::FakeCheckList(const std::vector<std::string>& texts) {
    setTexts(texts);
}

void FakeCheckList::insert(std::size_t i, std::string text) {
    if (i > entries.size()) {
        throw std::out_of_range("FakeCheckList::insert past the end");
    }
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(i), Entry{std::move(text)});
    // The current entry stays the same entry, as in a list control.
    if (current >= static_cast<std::ptrdiff_t>(i)) {
        ++current;
    }
}

void FakeCheckList::append(std::string text) {
    entries.push_back(Entry{std::move(text)});
}

void FakeCheckList::appendMany(std::vector<std::string> texts) {
    ++bulkCalls;
    for (std::string& t : texts) {
        entries.push_back(Entry{std::move(t)});
    }
}

void FakeCheckList::remove(std::size_t i) {
    if (i >= entries.size()) {
        throw std::out_of_range("FakeCheckList::remove past the end");
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
    const auto at = static_cast<std::ptrdiff_t>(i);
    if (current == at) {
        current = -1;
    } else if (current > at) {
        --current;
    }
}

void FakeCheckList::removeMany(const std::vector<std::size_t>& ascending) {
    ++bulkCalls;
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
        remove(*it);
    }
}

void FakeCheckList::clear() {
    ++bulkCalls;
    entries.clear();
    current = -1;
}

void FakeCheckList::setAllChecked(bool on) {
    ++bulkCalls;
    for (Entry& e : entries) {
        e.checked = on;
    }
}

void FakeCheckList::invertChecks() {
    ++bulkCalls;
    for (Entry& e : entries) {
        e.checked = !e.checked;
    }
}

void FakeCheckList::setCurrentIndex(std::ptrdiff_t i) {
    if (i < -1 || i >= static_cast<std::ptrdiff_t>(entries.size())) {
        throw std::out_of_range("FakeCheckList::setCurrentIndex out of range");
    }
    current = i;
}

std::string FakeCheckList::currentText() const {
    return current < 0 ? std::string() : entries.at(static_cast<std::size_t>(current)).text;
}

std::vector<std::string> FakeCheckList::texts() const {
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const Entry& e : entries) {
        out.push_back(e.text);
    }
    return out;
}

std::vector<bool> FakeCheckList::checks() const {
    std::vector<bool> out;
    out.reserve(entries.size());
    for (const Entry& e : entries) {
        out.push_back(e.checked);
    }
    return out;
}

std::vector<std::string> FakeCheckList::checkedTexts() const {
    std::vector<std::string> out;
    for (const Entry& e : entries) {
        if (e.checked) {
            out.push_back(e.text);
        }
    }
    return out;
}

void FakeCheckList::setTexts(const std::vector<std::string>& texts) {
    entries.clear();
    current = -1;
    for (const std::string& t : texts) {
        entries.push_back(Entry{t});
    }
}

}  // namespace scourix
