#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "GuiTestSupport.h"
#include "platform/qt/QtCheckList.h"

namespace scourix {

using test::onRow;
using Codes = std::vector<std::pair<int, int>>;  // (button, shift) as the procedures take them

class CheckListTest : public ::testing::Test {
protected:
    CheckListView view;
    QtCheckList list{view};
    int clicks = 0, doubleClicks = 0, notifications = 0;
    Codes downs, ups;

    void SetUp() override {
        const auto into = [](Codes& c) { return [&c](int b, int s) { c.push_back({b, s}); }; };
        QObject::connect(&view, &CheckListView::listClick, [this] { ++clicks; });
        QObject::connect(&view, &CheckListView::doubleClick, [this] { ++doubleClicks; });
        QObject::connect(&view, &CheckListView::mouseDown, into(downs));
        QObject::connect(&view, &CheckListView::mouseUp, into(ups));
        const CheckListModel* m = &view.checkModel();
        const auto bump = [this] { ++notifications; };
        QObject::connect(m, &QAbstractItemModel::rowsInserted, bump);
        QObject::connect(m, &QAbstractItemModel::rowsRemoved, bump);
        QObject::connect(m, &QAbstractItemModel::dataChanged, bump);
        QObject::connect(m, &QAbstractItemModel::modelReset, bump);
        view.resize(300, 200);
        view.show();
        for (int i = 0; i < 20; ++i) {
            list.append("entry " + std::to_string(i));
        }
    }
    int notificationsOf(const std::function<void()>& op) {
        notifications = 0;
        op();
        QApplication::processEvents();
        return notifications;
    }
};

TEST_F(CheckListTest, BulkChangesOfAHundredThousandEntriesCostOneNotificationEach) {
    std::vector<std::size_t> every3rd;
    for (std::size_t i = 0; i < 100020; i += 3) {
        every3rd.push_back(i);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(notificationsOf([&] { list.appendMany({100000, "/home/user/folder/file.tmp"}); }), 1);
    EXPECT_EQ(notificationsOf([&] { list.setAllChecked(true); }), 1);
    EXPECT_EQ(notificationsOf([&] { list.invertChecks(); }), 1);
    EXPECT_FALSE(list.checked(0) || list.checked(100019));
    EXPECT_EQ(notificationsOf([&] { list.removeMany(every3rd); }), 1);
    EXPECT_TRUE(list.count() == 100020u - every3rd.size() && list.text(0) == "entry 1");
    EXPECT_EQ(notificationsOf([&] { list.clear(); }), 1);
    EXPECT_LT(timer.elapsed(), 2000) << "a notification or repaint per entry takes seconds";
}

TEST_F(CheckListTest, ChangesKeepTheCurrentEntryOrLeaveNoneAndTheirTextsBytes) {
    view.setCurrentRow(10);
    list.removeMany({2, 5, 15});
    list.remove(0);
    list.insert(0, "first");
    EXPECT_TRUE(list.currentText() == "entry 10" && list.currentIndex() == 8);
    list.removeMany({1, 8});  // the current entry goes, and with it the highlight
    EXPECT_EQ(list.currentIndex(), -1);
    view.selectionModel()->setCurrentIndex(view.model()->index(0, 0),
                                           QItemSelectionModel::NoUpdate);
    list.remove(0);  // nor does a removal give a list without a current entry one
    EXPECT_TRUE(list.currentIndex() == -1 && list.currentText() == "" && clicks == 0);
    // A name keeps its bytes; the list shows a byte that is not UTF-8, and a line break,
    // as an escape.
    const std::pair<const char*, QString> cases[] = {
        {"/tmp/caf\xe9.tmp", QStringLiteral("/tmp/caf\\xE9.tmp")},
        {"/tmp/中文.bak", QStringLiteral("/tmp/中文.bak")},
        {"/tmp/a\nb\x01.tmp", QStringLiteral("/tmp/a\\nb\\x01.tmp")},
    };
    for (const auto& [bytes, shown] : cases) {
        list.insert(0, bytes);
        EXPECT_EQ(list.text(0), bytes);
        EXPECT_EQ(view.model()->index(0, 0).data().toString(), shown);
    }
}

TEST_F(CheckListTest, ClicksKeysAndButtonsRaiseTheirEventsAndMakeTheEntryClickedCurrent) {
    onRow(&view, 3, Qt::LeftButton);
    onRow(&view, 3, Qt::LeftButton);                       // the current entry again
    onRow(&view, 3, Qt::LeftButton, Qt::ControlModifier);  // Ctrl leaves it current
    EXPECT_TRUE(list.currentIndex() == 3 && clicks == 3);
    view.setFocus();
    test::typeKey(&view, Qt::Key_Down);
    test::typeKey(&view, Qt::Key_Space, {}, " ");
    EXPECT_TRUE(list.currentIndex() == 4 && clicks == 4 && list.checked(4));
    // Right and middle buttons leave the current entry and raise no click.
    onRow(&view, 6, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    onRow(&view, 7, Qt::MiddleButton);
    EXPECT_TRUE(list.currentIndex() == 4 && clicks == 4);
    EXPECT_EQ(downs, (Codes{{1, 0}, {1, 0}, {1, 2}, {2, 7}, {4, 0}}));
    EXPECT_EQ(ups, downs);
    onRow(&view, 3, Qt::LeftButton);
    for (const int row : {5, 1, 1}) {  // ticks 5 and makes it current; 1 twice: a click each
        test::clickAt(&view, test::tickBoxAt(&view, row), Qt::LeftButton);
    }
    EXPECT_TRUE(list.checked(5) && !list.checked(1) && list.currentText() == "entry 1");
    EXPECT_EQ(clicks, 8);
    // A click, a double click or a drag below the entries moves nothing.
    list.removeMany({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    const QPoint below(20, view.visualRect(view.model()->index(2, 0)).bottom() + 20);
    test::clickAt(&view, below, Qt::LeftButton, {}, true);
    // Over the first entry, and let go on the tick box of the one pressed last.
    for (auto [type, at] :
         {std::pair{QEvent::MouseButtonPress, below},
          {QEvent::MouseMove, view.visualRect(view.model()->index(0, 0)).center()},
          {QEvent::MouseButtonRelease, test::tickBoxAt(&view, 1)}}) {
        QMouseEvent e(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &e);
    }
    EXPECT_TRUE(list.currentText() == "entry 1" && clicks == 8 && doubleClicks == 0);
    EXPECT_FALSE(list.checked(1));
    // Only a left double click on an entry counts.
    onRow(&view, 1, Qt::LeftButton, {}, true);
    onRow(&view, 1, Qt::RightButton, {}, true);
    list.clear();
    onRow(&view, 1, Qt::LeftButton, {}, true);
    EXPECT_EQ(doubleClicks, 1);
}

}  // namespace scourix
