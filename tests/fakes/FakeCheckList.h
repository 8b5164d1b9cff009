#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/CheckList.h"

namespace scourix {

// A check-box list held in a vector; counts repaints and bulk operations so that tests can
// tell one list update from one per entry.
class FakeCheckList : public CheckList {
public:
    struct Entry {
        std::string text;
        bool checked = false;
    };

    std::vector<Entry> entries;
    std::ptrdiff_t current = -1;
    int repaints = 0;
    int bulkCalls = 0;  // appendMany, removeMany, clear, setAllChecked, invertChecks

    FakeCheckList() = default;
    explicit FakeCheckList(const std::vector<std::string>& texts);

    std::size_t count() const override { return entries.size(); }
    const std::string& text(std::size_t i) const override { return entries.at(i).text; }
    bool checked(std::size_t i) const override { return entries.at(i).checked; }

    void setChecked(std::size_t i, bool on) override { entries.at(i).checked = on; }
    void setText(std::size_t i, std::string text) override { entries.at(i).text = std::move(text); }

    void insert(std::size_t i, std::string text) override;
    void append(std::string text) override { entries.push_back(Entry{std::move(text)}); }
    void appendMany(std::vector<std::string> texts) override;

    void remove(std::size_t i) override;
    void removeMany(const std::vector<std::size_t>& ascending) override;
    void clear() override {
        ++bulkCalls;
        entries.clear();
        current = -1;
    }

    void setAllChecked(bool on) override;
    void invertChecks() override;

    std::ptrdiff_t currentIndex() const override { return current; }
    void setCurrentIndex(std::ptrdiff_t i) override;
    std::string currentText() const override { return current < 0 ? "" : text(current); }

    void repaint() override { ++repaints; }

    // Test helpers.
    std::vector<std::string> texts() const;
    std::vector<bool> checks() const;
    std::vector<std::string> checkedTexts() const;
    void setTexts(const std::vector<std::string>& texts);
};

}  // namespace scourix
