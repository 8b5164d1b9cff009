#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <string>
#include <vector>

namespace scourix {

// The entries of a check-box list: exact bytes and a tick each. The display text is made
// from the bytes only when the view asks for it, so a million entries cost their bytes
// and a flag, and every bulk change is one notification to the view.
class CheckListModel : public QAbstractListModel {
    Q_OBJECT

public:
    struct Entry {
        std::string text;
        bool checked = false;
    };

    explicit CheckListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The user ticking an entry (mouse or space bar) arrives here.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    std::size_t size() const { return entries_.size(); }
    const Entry& entry(std::size_t i) const { return entries_[i]; }

    void setChecked(std::size_t i, bool on);
    void setText(std::size_t i, std::string text);
    void insert(std::size_t i, std::string text);
    void appendMany(std::vector<std::string> texts);
    void remove(std::size_t i);
    // Indexes ascending, without repeats; out-of-range indexes are passed over.
    void removeMany(const std::vector<std::size_t>& ascending);
    void clear();
    void setAllChecked(bool on);
    void invertChecks();

private:
    void allChecksChanged();

    std::vector<Entry> entries_;
};

}  // namespace scourix
