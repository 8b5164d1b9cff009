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
    current += current >= static_cast<std::ptrdiff_t>(i) ? 1 : 0;
}

void FakeCheckList::appendMany(std::vector<std::string> texts) {
    ++bulkCalls;
    for (std::string& t : texts) {
        append(std::move(t));
    }
}

void FakeCheckList::remove(std::size_t i) {
    (void)entries.at(i);  // throws past the end
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
    const auto at = static_cast<std::ptrdiff_t>(i);
    current = current == at ? -1 : current - (current > at ? 1 : 0);
}

void FakeCheckList::removeMany(const std::vector<std::size_t>& ascending) {
    ++bulkCalls;
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
        remove(*it);
    }
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

std::vector<std::string> FakeCheckList::texts() const {
    std::vector<std::string> out;
    for (const Entry& e : entries) {
        out.push_back(e.text);
    }
    return out;
}

std::vector<bool> FakeCheckList::checks() const {
    std::vector<bool> out;
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
    entries.assign(texts.size(), Entry{});
    for (std::size_t i = 0; i < texts.size(); ++i) {
        entries[i].text = texts[i];
    }
    current = -1;
}

}  // namespace scourix
