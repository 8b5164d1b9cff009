#pragma once

#include "platform/CheckList.h"

namespace scourix {

class CheckListView;
class CheckListModel;

// The procedures' check-box list over a CheckListView. Changes made here raise no click.
class QtCheckList final : public CheckList {
public:
    explicit QtCheckList(CheckListView& view);

    std::size_t count() const override;
    const std::string& text(std::size_t i) const override;
    bool checked(std::size_t i) const override;

    void setChecked(std::size_t i, bool on) override;
    void setText(std::size_t i, std::string text) override;

    void insert(std::size_t i, std::string text) override;
    void append(std::string text) override;
    void appendMany(std::vector<std::string> texts) override;

    void remove(std::size_t i) override;
    void removeMany(const std::vector<std::size_t>& ascending) override;
    void clear() override;

    void setAllChecked(bool on) override;
    void invertChecks() override;

    std::ptrdiff_t currentIndex() const override;
    std::string currentText() const override;

    void repaint() override;

private:
    CheckListView& view_;
    CheckListModel& model_;
};

}  // namespace scourix
