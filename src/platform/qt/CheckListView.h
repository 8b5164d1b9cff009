#pragma once

#include <QListView>

#include "platform/qt/CheckListModel.h"

namespace scourix {

// A check-box list as the procedures expect it: the current entry is the highlighted
// one, the entry last clicked anywhere on its row (none until the user picks one); a click
// beside the entries, the right and middle buttons never move it, and
// the events carry mouse codes (button 1 left, 2 right, 4 middle; shift bits 1 Shift,
// 2 Ctrl, 4 Alt). Changes made from code raise no events.
class CheckListView : public QListView {
    Q_OBJECT

public:
    explicit CheckListView(QWidget* parent = nullptr);

    CheckListModel& checkModel() { return model_; }
    const CheckListModel& checkModel() const { return model_; }

    // The highlighted entry, -1 when there is none.
    int currentRow() const;
    // Moves the highlight without raising the click.
    void setCurrentRow(int row);

    // While one of these exists, changes of the highlight raise no click: they are the
    // code's doing, such as a removal that moves the highlight to a neighbour.
    class QuietChanges {
    public:
        explicit QuietChanges(CheckListView& view) : view_(view), was_(view.quiet_) {
            view.quiet_ = true;
        }
        ~QuietChanges() { view_.quiet_ = was_; }
        QuietChanges(const QuietChanges&) = delete;
        QuietChanges& operator=(const QuietChanges&) = delete;

    private:
        CheckListView& view_;
        bool was_;
    };

    // Scroll position by entry, kept across a change that relays the whole list out.
    int firstVisibleRow() const;
    void scrollToRow(int row);

    static int buttonCode(Qt::MouseButton button);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

signals:
    // The current entry changed by the user's doing, or the user clicked an entry.
    void listClick();
    void mouseDown(int button, int shift);
    void mouseUp(int button, int shift);
    void doubleClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    CheckListModel model_;
    bool quiet_ = false;               // set while code moves the highlight
    bool clickRaised_ = false;         // the press in progress already raised the click
    bool pressBesideEntries_ = false;  // the left button went down below the entries
};

}  // namespace scourix
