#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <numeric>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/qt/CheckListView.h"
#include "platform/qt/QtCheckList.h"

namespace scourix {
namespace {

using test::clickMouse;
using test::sendMouse;

// Counts every notification the model sends its views while it exists.
struct Notifications {
    int count = 0;
    QObject context;
    explicit Notifications(CheckListModel& m) {
        auto bump = [this] { ++count; };
        QObject::connect(&m, &QAbstractItemModel::rowsInserted, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::rowsRemoved, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::dataChanged, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::modelReset, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::layoutChanged, &context, bump);
        QObject::connect(&m, &QAbstractItemModel::rowsMoved, &context, bump);
    }
    int total() const { return count; }
};

class CheckListTest : public ::testing::Test {
protected:
    CheckListView view;
    QtCheckList list{view};
    int clicks = 0;
    std::vector<std::pair<int, int>> downs, ups;
    int doubleClicks = 0;

    void SetUp() override {
        QObject::connect(&view, &CheckListView::listClick, [this] { ++clicks; });
        QObject::connect(&view, &CheckListView::mouseDown,
                         [this](int b, int s) { downs.emplace_back(b, s); });
        QObject::connect(&view, &CheckListView::mouseUp,
                         [this](int b, int s) { ups.emplace_back(b, s); });
        QObject::connect(&view, &CheckListView::doubleClick, [this] { ++doubleClicks; });
        view.resize(300, 200);
        view.show();
        QApplication::processEvents();
    }

    void fill(int n) {
        std::vector<std::string> texts;
        for (int i = 0; i < n; ++i) {
            texts.push_back("entry " + std::to_string(i));
        }
        list.appendMany(std::move(texts));
        QApplication::processEvents();
    }

    QPoint centreOf(int row) { return view.visualRect(view.model()->index(row, 0)).center(); }
};

TEST_F(CheckListTest, BulkChangesOfAHundredThousandEntriesCostOneNotificationEach) {
    std::vector<std::string> texts(100000, "/home/user/some folder/file.tmp");
    QElapsedTimer timer;
    timer.start();
    {
        Notifications n(view.checkModel());
        list.appendMany(texts);
        EXPECT_EQ(n.total(), 1);
    }
    {
        Notifications n(view.checkModel());
        list.setAllChecked(true);
        EXPECT_EQ(n.total(), 1);
    }
    {
        Notifications n(view.checkModel());
        list.invertChecks();
        EXPECT_EQ(n.total(), 1);
        EXPECT_FALSE(list.checked(0) || list.checked(99999));
    }
    {
        std::vector<std::size_t> every3rd;
        for (std::size_t i = 0; i < 100000; i += 3) {
            every3rd.push_back(i);
        }
        Notifications n(view.checkModel());
        list.removeMany(every3rd);
        EXPECT_EQ(n.total(), 1);
        EXPECT_EQ(list.count(), 100000u - every3rd.size());
    }
    QApplication::processEvents();
    {
        Notifications n(view.checkModel());
        list.clear();
        EXPECT_EQ(n.total(), 1);
    }
    QApplication::processEvents();
    // A notification or repaint per entry would take seconds.
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(list.count(), 0u);
}

TEST_F(CheckListTest, RemovalsKeepTheCurrentEntryOrLeaveNone) {
    fill(20);
    list.setCurrentIndex(10);
    list.removeMany({2, 5, 15});
    EXPECT_EQ(list.currentIndex(), 8);
    EXPECT_EQ(list.currentText(), "entry 10");
    EXPECT_EQ(list.text(2), "entry 3");

    list.remove(0);
    EXPECT_EQ(list.currentIndex(), 7);
    list.insert(0, "first");
    EXPECT_EQ(list.currentIndex(), 8);
    EXPECT_EQ(list.currentText(), "entry 10");

    // Removing the current entry leaves the list without one, in either way.
    list.removeMany({1, 8});
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.currentText(), "");
    list.setCurrentIndex(3);
    list.remove(3);
    EXPECT_EQ(list.currentIndex(), -1);

    // Nor does a removal give a list without a current entry one.
    list.setCurrentIndex(-1);
    view.selectionModel()->setCurrentIndex(view.model()->index(0, 0),
                                           QItemSelectionModel::NoUpdate);
    list.remove(0);
    EXPECT_EQ(list.currentIndex(), -1);

    list.setCurrentIndex(2);
    list.clear();
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(clicks, 0) << "changes made in code raise no click";
}

TEST_F(CheckListTest, ScrollPositionSurvivesRemovingManyEntries) {
    fill(1000);
    list.setCurrentIndex(500);
    view.scrollTo(view.model()->index(500, 0), QAbstractItemView::PositionAtTop);
    const int top = view.firstVisibleRow();
    ASSERT_GT(top, 400);
    list.removeMany({0, 1, 2, 3, 999});
    EXPECT_EQ(view.firstVisibleRow(), top - 4);
}

TEST_F(CheckListTest, UserClicksAndKeysRaiseTheClick) {
    fill(10);
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton);
    EXPECT_EQ(list.currentIndex(), 3);
    EXPECT_EQ(clicks, 1);
    // A click on the current entry is a click all the same, but only one.
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    // Ctrl+click does not leave the list without a current entry.
    clickMouse(view.viewport(), centreOf(3), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list.currentIndex(), 3);

    view.setFocus();
    const int before = clicks;
    test::typeKey(&view, Qt::Key_Down);
    EXPECT_EQ(list.currentIndex(), 4);
    EXPECT_EQ(clicks, before + 1);

    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0], std::make_pair(1, 0));
    EXPECT_EQ(ups[2], std::make_pair(1, 2));
}

TEST_F(CheckListTest, RightAndMiddleButtonsLeaveTheCurrentEntry) {
    fill(10);
    list.setCurrentIndex(2);
    clickMouse(view.viewport(), centreOf(6), Qt::RightButton,
               Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    clickMouse(view.viewport(), centreOf(7), Qt::MiddleButton);
    EXPECT_EQ(list.currentIndex(), 2);
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0], std::make_pair(2, 7));
    EXPECT_EQ(ups[0], std::make_pair(2, 7));
    EXPECT_EQ(downs[1], std::make_pair(4, 0));
}

TEST_F(CheckListTest, DoubleClickOnAnEntryOnly) {
    fill(2);
    sendMouse(view.viewport(), QEvent::MouseButtonDblClick, centreOf(1), Qt::LeftButton);
    EXPECT_EQ(doubleClicks, 1);
    sendMouse(view.viewport(), QEvent::MouseButtonDblClick, QPoint(5, 190), Qt::LeftButton);
    sendMouse(view.viewport(), QEvent::MouseButtonDblClick, centreOf(1), Qt::RightButton);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(CheckListTest, SpaceBarTicksTheCurrentEntry) {
    fill(3);
    clickMouse(view.viewport(), centreOf(1), Qt::LeftButton);
    view.setFocus();
    test::typeKey(&view, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_TRUE(list.checked(1));
    test::typeKey(&view, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_FALSE(list.checked(1));
    EXPECT_FALSE(list.checked(0));
}

TEST_F(CheckListTest, TextsKeepTheirBytesAndShowReplacementCharacters) {
    const std::string latin1 = "/tmp/caf\xe9.tmp";
    list.append(latin1);
    list.append("/tmp/中文.bak");
    EXPECT_EQ(list.text(0), latin1);
    const QString shown = view.model()->index(0, 0).data().toString();
    EXPECT_EQ(shown, QStringLiteral("/tmp/caf\uFFFD.tmp"));
    EXPECT_EQ(view.model()->index(1, 0).data().toString(), QStringLiteral("/tmp/中文.bak"));
    list.setText(1, "renamed");
    EXPECT_EQ(view.model()->index(1, 0).data().toString(), QStringLiteral("renamed"));
    EXPECT_EQ(list.text(7), "") << "an index past the end reads as empty";
}

}  // namespace
}  // namespace scourix
