#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/CheckList.h"

namespace scourix {

// The result list of a run without a window: every batch the walk appends goes straight to
// a receiver and nothing of it is kept, so a million paths cost no memory per entry. The
// list only ever looks empty to whoever reads it.
class StreamingList final : public CheckList {
public:
    using Receiver = std::function<void(std::vector<std::string>&)>;
    explicit StreamingList(Receiver receiver) : receiver_(std::move(receiver)) {}

    std::size_t count() const override { return 0; }
    const std::string& text(std::size_t) const override { return empty_; }
    bool checked(std::size_t) const override { return false; }
    void setChecked(std::size_t, bool) override {}
    void setText(std::size_t, std::string) override {}
    void insert(std::size_t, std::string text) override { append(std::move(text)); }
    void append(std::string text) override;
    void appendMany(std::vector<std::string> texts) override { receiver_(texts); }
    void remove(std::size_t) override {}
    void removeMany(const std::vector<std::size_t>&) override {}
    void clear() override {}
    void setAllChecked(bool) override {}
    void invertChecks() override {}
    std::ptrdiff_t currentIndex() const override { return -1; }
    std::string currentText() const override { return {}; }
    void repaint() override {}

private:
    Receiver receiver_;
    std::string empty_;
};

}  // namespace scourix
