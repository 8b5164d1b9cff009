#include "platform/qt/CheckListModel.h"

#include <algorithm>

#include "platform/VisibleText.h"

namespace scourix {

CheckListModel::CheckListModel(QObject* parent) : QAbstractListModel(parent) {
    pendingTimer_.setSingleShot(true);
    connect(&pendingTimer_, &QTimer::timeout, this, &CheckListModel::showPending);
}

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= shown_) {
        return {};
    }
    const Entry& e = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            // Control characters and bytes that are not UTF-8 show as escapes, one line per
            // entry; the entry keeps its exact bytes.
            if (needsEscapes(e.text)) {
                const std::string shown = visibleText(e.text);
                return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
            }
            return QString::fromUtf8(e.text.data(), static_cast<qsizetype>(e.text.size()));
        case Qt::CheckStateRole:
            return e.checked ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= shown_) {
        return false;
    }
    setChecked(static_cast<std::size_t>(index.row()),
               value.toInt() == static_cast<int>(Qt::Checked));
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

void CheckListModel::setChecked(std::size_t i, bool on) {
    showPending();
    if (i >= entries_.size() || entries_[i].checked == on) {
        return;
    }
    entries_[i].checked = on;
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void CheckListModel::setText(std::size_t i, std::string text) {
    showPending();
    if (i >= entries_.size()) {
        return;
    }
    entries_[i].text = std::move(text);
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void CheckListModel::insert(std::size_t i, std::string text) {
    showPending();
    i = std::min(i, entries_.size());
    const int row = static_cast<int>(i);
    beginInsertRows({}, row, row);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), Entry{std::move(text)});
    ++shown_;
    endInsertRows();
}

void CheckListModel::append(std::string text) {
    entries_.push_back(Entry{std::move(text)});
    appended();
}

void CheckListModel::appendMany(std::vector<std::string> texts) {
    if (texts.empty()) {
        return;
    }
    for (std::string& t : texts) {
        entries_.push_back(Entry{std::move(t)});
    }
    appended();
}

void CheckListModel::appended() {
    if (!deferAppends_ || !sinceShown_.isValid()) {
        showPending();
        return;
    }
    const qint64 interval = 100 + static_cast<qint64>(shown_ / 1000);
    const qint64 waited = sinceShown_.elapsed();
    if (waited >= interval) {
        showPending();
    } else if (!pendingTimer_.isActive()) {
        pendingTimer_.start(static_cast<int>(interval - waited));
    }
}

void CheckListModel::setDeferredAppends(bool on) {
    deferAppends_ = on;
    if (!on) {
        showPending();
    }
}

void CheckListModel::showPending() {
    pendingTimer_.stop();
    if (shown_ == entries_.size()) {
        return;
    }
    beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(entries_.size()) - 1);
    shown_ = entries_.size();
    endInsertRows();
    sinceShown_.start();
}

void CheckListModel::remove(std::size_t i) {
    showPending();
    if (i >= entries_.size()) {
        return;
    }
    const int row = static_cast<int>(i);
    beginRemoveRows({}, row, row);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    --shown_;
    endRemoveRows();
}

void CheckListModel::removeMany(const std::vector<std::size_t>& ascending) {
    showPending();
    auto first = std::find_if(ascending.begin(), ascending.end(),
                              [&](std::size_t i) { return i < entries_.size(); });
    if (first == ascending.end()) {
        return;
    }
    if (ascending.size() == 1) {
        remove(ascending.front());
        return;
    }
    // Removal in place in one pass; the view relays itself out once. Row-range signals
    // would cost one notification per run of removed entries.
    beginResetModel();
    std::size_t out = *first;
    auto next = first;
    for (std::size_t in = *first; in < entries_.size(); ++in) {
        while (next != ascending.end() && *next < in) {
            ++next;
        }
        if (next != ascending.end() && *next == in) {
            continue;
        }
        if (out != in) {
            entries_[out] = std::move(entries_[in]);
        }
        ++out;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(out), entries_.end());
    shown_ = entries_.size();
    endResetModel();
}

void CheckListModel::clear() {
    pendingTimer_.stop();
    if (entries_.empty()) {
        return;
    }
    beginResetModel();
    std::deque<Entry>().swap(entries_);
    shown_ = 0;
    endResetModel();
}

void CheckListModel::setAllChecked(bool on) {
    showPending();
    for (Entry& e : entries_) {
        e.checked = on;
    }
    allChecksChanged();
}

void CheckListModel::invertChecks() {
    showPending();
    for (Entry& e : entries_) {
        e.checked = !e.checked;
    }
    allChecksChanged();
}

void CheckListModel::allChecksChanged() {
    if (entries_.empty()) {
        return;
    }
    emit dataChanged(index(0), index(static_cast<int>(entries_.size()) - 1), {Qt::CheckStateRole});
}

}  // namespace scourix
