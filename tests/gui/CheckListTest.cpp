#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/qt/CheckListView.h"
#include "platform/qt/QtCheckList.h"

namespace scourix {
namespace {

using test::clickMouse;
using Codes = std::vector<std::pair<int, int>>;  // (button, shift) as VB gives them

class CheckListTest : public ::testing::Test {
protected:
    CheckListView view;
    QtCheckList list{view};
    int clicks = 0;
    int doubleClicks = 0;
    Codes downs, ups;

    void SetUp() override {
        QObject::connect(&view, &CheckListView::listClick, [this] { ++clicks; });
        QObject::connect(&view, &CheckListView::doubleClick, [this] { ++doubleClicks; });
        QObject::connect(&view, &CheckListView::mouseDown,
                         [this](int b, int s) { downs.emplace_back(b, s); });
        QObject::connect(&view, &CheckListView::mouseUp,
                         [this](int b, int s) { ups.emplace_back(b, s); });
        view.resize(300, 200);
        view.show();
    }

    void fill(int n) {
        for (int i = 0; i < n; ++i) {
            list.append("entry " + std::to_string(i));
        }
        QApplication::processEvents();
    }
    QPoint centreOf(int row) { return view.visualRect(view.model()->index(row, 0)).center(); }

    // How many notifications the model sends its views during op.
    int notificationsOf(const std::function<void()>& op) {
        int count = 0;
        QObject context;
        auto& m = view.checkModel();
        const auto bump = [&count] { ++count; };
        QObject::connect(&m, &QAbstractItemModel::rowsInserted, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::rowsRemoved, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::rowsMoved, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::dataChanged, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::modelReset, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::layoutChanged, &context, bump);
        op();
        QApplication::processEvents();
        return count;
    }
};

TEST_F(CheckListTest, BulkChangesOfAHundredThousandEntriesCostOneNotificationEach) {
    std::vector<std::size_t> every3rd;
    for (std::size_t i = 0; i < 100000; i += 3) {
        every3rd.push_back(i);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(notificationsOf([&] { list.appendMany({100000, "/home/user/folder/file.tmp"}); }), 1);
    EXPECT_EQ(notificationsOf([&] { list.setAllChecked(true); }), 1);
    EXPECT_EQ(notificationsOf([&] { list.invertChecks(); }), 1);
    EXPECT_FALSE(list.checked(0) || list.checked(99999));
    EXPECT_EQ(notificationsOf([&] { list.removeMany(every3rd); }), 1);
    EXPECT_EQ(list.count(), 100000u - every3rd.size());
    EXPECT_EQ(notificationsOf([&] { list.clear(); }), 1);
    // A notification or repaint per entry would take seconds.
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(CheckListTest, ChangesKeepTheCurrentEntryOrLeaveNoneAndRaiseNoClick) {
    fill(20);
    list.setCurrentIndex(10);
    list.removeMany({2, 5, 15});
    list.remove(0);
    list.insert(0, "first");
    EXPECT_EQ(list.currentIndex(), 8);
    EXPECT_EQ(list.currentText(), "entry 10");
    // Removing the current entry leaves the list without one, and a removal gives a
    // list without a current entry none.
    list.removeMany({1, 8});
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.currentText(), "");
    list.setCurrentIndex(-1);
    view.selectionModel()->setCurrentIndex(view.model()->index(0, 0),
                                           QItemSelectionModel::NoUpdate);
    list.remove(0);
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(CheckListTest, UserClicksKeysAndButtonsRaiseTheirEvents) {
    fill(10);
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton);
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton);  // the current entry again
    EXPECT_EQ(list.currentIndex(), 3);
    EXPECT_EQ(clicks, 2);
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list.currentIndex(), 3) << "Ctrl+click leaves a current entry";
    view.setFocus();
    test::typeKey(&view, Qt::Key_Down);
    EXPECT_EQ(list.currentIndex(), 4);
    EXPECT_EQ(clicks, 4);
    test::typeKey(&view, Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_TRUE(list.checked(4));

    // Right and middle buttons leave the current entry and raise no click.
    clickMouse(view.viewport(), centreOf(6), Qt::RightButton,
               Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    clickMouse(view.viewport(), centreOf(7), Qt::MiddleButton);
    EXPECT_EQ(list.currentIndex(), 4);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(downs, (Codes{{1, 0}, {1, 0}, {1, 2}, {2, 7}, {4, 0}}));
    EXPECT_EQ(ups.back(), std::make_pair(4, 0));

    test::sendMouse(view.viewport(), QEvent::MouseButtonDblClick, centreOf(1), Qt::LeftButton);
    test::sendMouse(view.viewport(), QEvent::MouseButtonDblClick, QPoint(5, 190), Qt::LeftButton);
    test::sendMouse(view.viewport(), QEvent::MouseButtonDblClick, centreOf(1), Qt::RightButton);
    EXPECT_EQ(doubleClicks, 1) << "only a left double click on an entry";
}

TEST_F(CheckListTest, TextsKeepTheirBytesAndShowWhatIsNotUtf8AsEscapes) {
    list.append("/tmp/caf\xe9.tmp");
    list.append("/tmp/中文.bak");
    EXPECT_EQ(list.text(0), "/tmp/caf\xe9.tmp");
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), QStringLiteral("/tmp/caf\\xE9.tmp"));
    EXPECT_EQ(view.model()->index(1, 0).data().toString(), QStringLiteral("/tmp/中文.bak"));
    // A line break in a name shows as an escape, never as a second line.
    list.append("/tmp/a\nb\x01.tmp");
    EXPECT_EQ(list.text(2), "/tmp/a\nb\x01.tmp");
    EXPECT_EQ(view.model()->index(2, 0).data().toString(), QStringLiteral("/tmp/a\\nb\\x01.tmp"));
}

}  // namespace
}  // namespace scourix
