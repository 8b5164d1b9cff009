#pragma once

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QTimer>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace scourix {

// The entries of a check-box list: exact bytes and a tick each. The display text is made
// from the bytes only when the view asks for it, so a million entries cost their bytes
// and a flag, and every bulk change is one notification to the view.
class CheckListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit CheckListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The user ticking an entry (mouse or space bar) arrives here.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Every entry, those the views have not heard of yet included.
    std::size_t size() const { return texts_.size(); }
    const std::string& text(std::size_t i) const { return texts_[i]; }
    bool checked(std::size_t i) const { return checks_[i]; }

    void setChecked(std::size_t i, bool on);
    void setText(std::size_t i, std::string text);
    void insert(std::size_t i, std::string text);
    void append(std::string text);
    void appendMany(std::vector<std::string> texts);
    void remove(std::size_t i);
    // Indexes ascending, without repeats; out-of-range indexes are passed over.
    void removeMany(const std::vector<std::size_t>& ascending);
    void clear();
    void setAllChecked(bool on);
    void invertChecks();

    // A view lays every entry out again whenever rows are added, so a list that grows by a
    // few entries a folder during a scan would cost the whole list per folder. With this
    // on, appends reach the views at most every 100 ms plus 1 us per entry shown; every
    // other change, and showPending, brings them up to date first.
    void setDeferredAppends(bool on);
    void showPending();
    std::size_t shownCount() const { return shown_; }

private:
    void allChecksChanged();
    void appended();

    // The texts in blocks: a list grows a few entries a folder to a million without ever
    // copying itself or holding spare room for half as many again. A tick is one bit.
    std::deque<std::string> texts_;
    std::vector<bool> checks_;
    std::size_t shown_ = 0;  // entries the views know of: the first shown_
    bool deferAppends_ = false;
    QElapsedTimer sinceShown_;
    QTimer pendingTimer_;
};

}  // namespace scourix
