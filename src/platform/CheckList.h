#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scourix {

// A list of entries that each have a text and a tick, with at most one current entry.
// Indexes are zero-based; the current index is -1 when there is none. Bulk operations
// exist so that a list of a million entries costs one notification, not one per entry.
// count, text and checked may be called from several threads while nobody changes the list.
class CheckList {
public:
    virtual ~CheckList() = default;

    virtual std::size_t count() const = 0;
    virtual const std::string& text(std::size_t i) const = 0;
    virtual bool checked(std::size_t i) const = 0;

    virtual void setChecked(std::size_t i, bool on) = 0;
    virtual void setText(std::size_t i, std::string text) = 0;

    // New entries are unticked.
    virtual void insert(std::size_t i, std::string text) = 0;
    virtual void append(std::string text) = 0;
    virtual void appendMany(std::vector<std::string> texts) = 0;

    virtual void remove(std::size_t i) = 0;
    // Removes the entries at the given indexes (ascending, no repeats) in one go; the
    // others keep their order.
    virtual void removeMany(const std::vector<std::size_t>& ascending) = 0;
    virtual void clear() = 0;

    virtual void setAllChecked(bool on) = 0;
    virtual void invertChecks() = 0;

    virtual std::ptrdiff_t currentIndex() const = 0;
    // The current entry's text, "" when there is none.
    virtual std::string currentText() const = 0;

    virtual void repaint() = 0;
};

}  // namespace scourix
