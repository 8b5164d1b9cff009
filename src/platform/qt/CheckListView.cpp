#include "platform/qt/CheckListView.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

namespace scourix {

CheckListView::CheckListView(QWidget* parent) : QListView(parent), model_(this) {
    setModel(&model_);
    // Every entry has the same height, so the view never measures more than one of them:
    // this keeps a list of a million entries as quick as a short one.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Every entry shares the first one's width, so a horizontal scroll bar would not
    // reach a longer entry; long entries are elided instead.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

int CheckListView::currentRow() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void CheckListView::setCurrentRow(int row) {
    const QuietChanges quiet(*this);
    if (row >= 0 && row < model_.rowCount()) {
        selectionModel()->setCurrentIndex(model_.index(row), QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clear();
    }
}

int CheckListView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

void CheckListView::scrollToRow(int row) {
    // The list lays itself out lazily; the scroll range is only right after that.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(row);
}

int CheckListView::buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int CheckListView::shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        code |= 4;
    }
    return code;
}

void CheckListView::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()));
    if (event->button() != Qt::LeftButton) {
        // Only the left button picks an entry: a right click concerns the current one.
        event->accept();
        return;
    }
    clickRaised_ = false;
    const QModelIndex at = indexAt(event->position().toPoint());
    // A click below the entries concerns none of them: the current entry stays.
    pressBesideEntries_ = !at.isValid();
    if (pressBesideEntries_) {
        event->accept();
        return;
    }
    // Ctrl would take the highlight off the entry; a list always keeps the one clicked.
    QMouseEvent plain(event->type(), event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers() & ~Qt::ControlModifier, event->pointingDevice());
    QListView::mousePressEvent(&plain);
    // The view takes a press on the tick box for an edit of the tick and picks no entry;
    // the entry clicked is the current one wherever on its row the click lands.
    if (currentRow() != at.row()) {
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    }
    // A click on the entry that is already current is a click all the same.
    if (!clickRaised_) {
        emit listClick();
    }
}

void CheckListView::mouseMoveEvent(QMouseEvent* event) {
    // Nor does dragging from there pick an entry.
    if (!pressBesideEntries_ || !(event->buttons() & Qt::LeftButton)) {
        QListView::mouseMoveEvent(event);
    }
}

void CheckListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QMouseEvent plain(event->type(), event->position(), event->scenePosition(),
                          event->globalPosition(), event->button(), event->buttons(),
                          event->modifiers() & ~Qt::ControlModifier, event->pointingDevice());
        QListView::mouseReleaseEvent(&plain);
    } else {
        event->accept();
    }
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()));
}

void CheckListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const bool onEntry = indexAt(event->position().toPoint()).isValid();
    QListView::mouseDoubleClickEvent(event);
    if (onEntry) {
        emit doubleClick();
    }
}

bool CheckListView::viewportEvent(QEvent* event) {
    // The list's own tool tip, wherever the pointer rests, not one per entry.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (toolTip().isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), toolTip(), this);
        }
        return true;
    }
    return QListView::viewportEvent(event);
}

void CheckListView::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    if (!quiet_ && !selected.isEmpty()) {
        clickRaised_ = true;
        emit listClick();
    }
}

QItemSelectionModel::SelectionFlags CheckListView::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    // Ctrl+click must not leave the list without a current entry.
    QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags & QItemSelectionModel::Toggle) {
        flags = QItemSelectionModel::ClearAndSelect;
    }
    return flags;
}

}  // namespace scourix
