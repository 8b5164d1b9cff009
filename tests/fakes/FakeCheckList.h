#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/CheckList.h"

namespace scourix {

// A check-box list held in a vector; counts repaints and bulk operations so that tests can
// tell one list update from one per entry. An index out of range throws.
class FakeCheckList : public CheckList {
public:
    struct Entry {
        Entry(std::string t = {}) : text(std::move(t)) {}  // unticked
        std::string text;
        bool checked = false;
    };

    std::vector<Entry> entries;
    std::ptrdiff_t current = -1;
    int repaints = 0;
    int bulkCalls = 0;  // appendMany, removeMany, clear, setAllChecked, invertChecks

    std::size_t count() const override { return entries.size(); }
    const std::string& text(std::size_t i) const override { return entries.at(i).text; }
    bool checked(std::size_t i) const override { return entries.at(i).checked; }
    void setChecked(std::size_t i, bool on) override { entries.at(i).checked = on; }
    void setText(std::size_t i, std::string text) override { entries.at(i).text = std::move(text); }

    void insert(std::size_t i, std::string text) override {
        const std::ptrdiff_t at = below(i, count() + 1);
        entries.insert(entries.begin() + at, Entry{std::move(text)});
        current += current >= at ? 1 : 0;  // the current entry stays the same entry
    }
    void append(std::string text) override { entries.push_back(Entry{std::move(text)}); }
    void appendMany(std::vector<std::string> texts) override {
        ++bulkCalls;
        entries.insert(entries.end(), texts.begin(), texts.end());
    }
    void remove(std::size_t i) override {
        const std::ptrdiff_t at = below(i, count());
        entries.erase(entries.begin() + at);
        current = current == at ? -1 : current - (current > at ? 1 : 0);
    }
    void removeMany(const std::vector<std::size_t>& ascending) override {
        ++bulkCalls;
        for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
            remove(*it);
        }
    }
    void clear() override {
        ++bulkCalls;
        setTexts({});
    }
    void setAllChecked(bool on) override { checkAll(on, false); }
    void invertChecks() override { checkAll(false, true); }

    std::ptrdiff_t currentIndex() const override { return current; }
    std::string currentText() const override { return current < 0 ? "" : text(current); }
    void setCurrentIndex(std::ptrdiff_t i) { current = i == -1 ? -1 : below(i, count()); }
    void repaint() override { ++repaints; }

    // Test helpers.
    std::vector<std::string> texts() const { return each(&Entry::text, false); }
    std::vector<bool> checks() const { return each(&Entry::checked, false); }
    std::vector<std::string> checkedTexts() const { return each(&Entry::text, true); }
    void setTexts(const std::vector<std::string>& texts) {
        entries.assign(texts.begin(), texts.end());
        current = -1;
    }

private:
    static std::ptrdiff_t below(std::ptrdiff_t i, std::size_t end) {
        return i >= 0 && i < static_cast<std::ptrdiff_t>(end)
                   ? i
                   : throw std::out_of_range("FakeCheckList: no entry " + std::to_string(i));
    }
    template <class T>
    std::vector<T> each(T Entry::*field, bool onlyChecked) const {
        std::vector<T> out;
        for (const Entry& e : entries) {
            if (e.checked || !onlyChecked) {
                out.push_back(e.*field);
            }
        }
        return out;
    }
    void checkAll(bool on, bool invert) {
        ++bulkCalls;
        for (Entry& e : entries) {
            e.checked = invert ? !e.checked : on;
        }
    }
};

}  // namespace scourix
