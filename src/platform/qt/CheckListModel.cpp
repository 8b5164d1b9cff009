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
    const auto row = static_cast<std::size_t>(index.row());
    const std::string& t = texts_[row];
    switch (role) {
        case Qt::DisplayRole:
            // Control characters and bytes that are not UTF-8 show as escapes, one line per
            // entry; the entry keeps its exact bytes.
            if (needsEscapes(t)) {
                const std::string shown = visibleText(t);
                return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
            }
            return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        case Qt::CheckStateRole:
            return checks_[row] ? Qt::Checked : Qt::Unchecked;
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
    if (i >= texts_.size() || checks_[i] == on) {
        return;
    }
    checks_[i] = on;
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void CheckListModel::setText(std::size_t i, std::string text) {
    showPending();
    if (i >= texts_.size()) {
        return;
    }
    texts_[i] = std::move(text);
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void CheckListModel::insert(std::size_t i, std::string text) {
    showPending();
    i = std::min(i, texts_.size());
    const int row = static_cast<int>(i);
    beginInsertRows({}, row, row);
    texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(i), std::move(text));
    checks_.insert(checks_.begin() + static_cast<std::ptrdiff_t>(i), false);
    ++shown_;
    endInsertRows();
}

void CheckListModel::append(std::string text) {
    texts_.push_back(std::move(text));
    checks_.push_back(false);
    appended();
}

void CheckListModel::appendMany(std::vector<std::string> texts) {
    if (texts.empty()) {
        return;
    }
    for (std::string& t : texts) {
        texts_.push_back(std::move(t));
    }
    checks_.resize(texts_.size(), false);
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
    if (shown_ == texts_.size()) {
        return;
    }
    beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(texts_.size()) - 1);
    shown_ = texts_.size();
    endInsertRows();
    sinceShown_.start();
}

void CheckListModel::remove(std::size_t i) {
    showPending();
    if (i >= texts_.size()) {
        return;
    }
    const int row = static_cast<int>(i);
    beginRemoveRows({}, row, row);
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(i));
    checks_.erase(checks_.begin() + static_cast<std::ptrdiff_t>(i));
    --shown_;
    endRemoveRows();
}

void CheckListModel::removeMany(const std::vector<std::size_t>& ascending) {
    showPending();
    auto first = std::find_if(ascending.begin(), ascending.end(),
                              [&](std::size_t i) { return i < texts_.size(); });
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
    for (std::size_t in = *first; in < texts_.size(); ++in) {
        while (next != ascending.end() && *next < in) {
            ++next;
        }
        if (next != ascending.end() && *next == in) {
            continue;
        }
        if (out != in) {
            texts_[out] = std::move(texts_[in]);
            checks_[out] = checks_[in];
        }
        ++out;
    }
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(out), texts_.end());
    checks_.resize(out);
    shown_ = texts_.size();
    endResetModel();
}

void CheckListModel::clear() {
    pendingTimer_.stop();
    if (texts_.empty()) {
        return;
    }
    beginResetModel();
    std::deque<std::string>().swap(texts_);
    std::vector<bool>().swap(checks_);
    shown_ = 0;
    endResetModel();
}

void CheckListModel::setAllChecked(bool on) {
    showPending();
    checks_.assign(checks_.size(), on);
    allChecksChanged();
}

void CheckListModel::invertChecks() {
    showPending();
    checks_.flip();
    allChecksChanged();
}

void CheckListModel::allChecksChanged() {
    if (texts_.empty()) {
        return;
    }
    emit dataChanged(index(0), index(static_cast<int>(texts_.size()) - 1), {Qt::CheckStateRole});
}

}  // namespace scourix
