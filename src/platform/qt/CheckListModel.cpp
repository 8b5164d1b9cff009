#include "platform/qt/CheckListModel.h"

#include <algorithm>

namespace scourix {

CheckListModel::CheckListModel(QObject* parent) : QAbstractListModel(parent) {}

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= entries_.size()) {
        return {};
    }
    const Entry& e = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            // Bytes that are not UTF-8 show as replacement characters; the entry keeps
            // its exact bytes.
            return QString::fromUtf8(e.text.data(), static_cast<qsizetype>(e.text.size()));
        case Qt::CheckStateRole:
            return e.checked ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= entries_.size()) {
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
    if (i >= entries_.size() || entries_[i].checked == on) {
        return;
    }
    entries_[i].checked = on;
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void CheckListModel::setText(std::size_t i, std::string text) {
    if (i >= entries_.size()) {
        return;
    }
    entries_[i].text = std::move(text);
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void CheckListModel::insert(std::size_t i, std::string text) {
    i = std::min(i, entries_.size());
    const int row = static_cast<int>(i);
    beginInsertRows({}, row, row);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), Entry{std::move(text)});
    endInsertRows();
}

void CheckListModel::appendMany(std::vector<std::string> texts) {
    if (texts.empty()) {
        return;
    }
    const int first = static_cast<int>(entries_.size());
    beginInsertRows({}, first, first + static_cast<int>(texts.size()) - 1);
    entries_.reserve(entries_.size() + texts.size());
    for (std::string& t : texts) {
        entries_.push_back(Entry{std::move(t)});
    }
    endInsertRows();
}

void CheckListModel::remove(std::size_t i) {
    if (i >= entries_.size()) {
        return;
    }
    const int row = static_cast<int>(i);
    beginRemoveRows({}, row, row);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    endRemoveRows();
}

void CheckListModel::removeMany(const std::vector<std::size_t>& ascending) {
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
    endResetModel();
}

void CheckListModel::clear() {
    if (entries_.empty()) {
        return;
    }
    beginResetModel();
    std::vector<Entry>().swap(entries_);
    endResetModel();
}

void CheckListModel::setAllChecked(bool on) {
    for (Entry& e : entries_) {
        e.checked = on;
    }
    allChecksChanged();
}

void CheckListModel::invertChecks() {
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
