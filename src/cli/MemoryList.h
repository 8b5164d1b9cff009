#pragma once

#include <string>
#include <vector>

#include "platform/CheckList.h"

namespace scourix {

// A check list held in memory only: the locations and the patterns of a run.
class MemoryList final : public CheckList {
public:
    std::size_t count() const override { return texts_.size(); }
    const std::string& text(std::size_t i) const override { return texts_[i]; }
    bool checked(std::size_t i) const override { return ticks_[i]; }

    void setChecked(std::size_t i, bool on) override { ticks_[i] = on; }
    void setText(std::size_t i, std::string text) override { texts_[i] = std::move(text); }
    void insert(std::size_t i, std::string text) override;
    void append(std::string text) override;
    void appendMany(std::vector<std::string> texts) override;
    void remove(std::size_t i) override;
    void removeMany(const std::vector<std::size_t>& ascending) override;
    void clear() override;
    void setAllChecked(bool on) override;
    void invertChecks() override;

    std::ptrdiff_t currentIndex() const override { return current_; }
    std::string currentText() const override;
    void repaint() override {}

    // The ticked entries' texts, in order.
    std::vector<std::string> tickedTexts() const;

private:
    std::vector<std::string> texts_;
    std::vector<bool> ticks_;
    std::ptrdiff_t current_ = -1;
};

}  // namespace scourix
