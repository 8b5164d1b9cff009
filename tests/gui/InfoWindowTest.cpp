#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

#include "GuiTestSupport.h"
#include "gui/InfoWindowDialog.h"

namespace scourix {
namespace {

using test::typeKey;
using test::whenUp;

TEST(InfoWindow, DesignAtNinetySixDpi) {
    InfoWindowDialog w;
    ASSERT_EQ(w.logicalDpiX(), 96);
    EXPECT_EQ(w.objectName(), QStringLiteral("frmErr"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("信息窗口"));
    // 7755 x 5535 twips, and not resizable.
    EXPECT_EQ(w.size(), QSize(517, 369));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(253, 253, 240));

    EXPECT_EQ(w.heading()->text(), QStringLiteral("信息查看"));
    EXPECT_EQ(w.heading()->pos(), QPoint(8, 8));
    EXPECT_DOUBLE_EQ(w.heading()->font().pointSizeF(), 14.25);
    EXPECT_EQ(w.view()->geometry(), QRect(8, 32, 505, 169));
    EXPECT_DOUBLE_EQ(w.view()->font().pointSizeF(), 9.75);
    EXPECT_TRUE(w.view()->isReadOnly());
    EXPECT_TRUE(w.view()->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_EQ(w.view()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(w.view()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.view()->palette().color(QPalette::Base), QColor(253, 253, 240));

    EXPECT_EQ(w.closeButton()->objectName(), QStringLiteral("OKButton"));
    EXPECT_EQ(w.closeButton()->text(), QStringLiteral("关闭"));
    EXPECT_EQ(w.closeButton()->geometry(), QRect(424, 208, 81, 25));
    EXPECT_FALSE(w.closeButton()->isDefault());
    EXPECT_FALSE(w.closeButton()->autoDefault());
    // Tab goes from 关闭 to the text.
    QWidget* next = w.closeButton()->nextInFocusChain();
    while (next != w.closeButton() && !(next->focusPolicy() & Qt::TabFocus)) {
        next = next->nextInFocusChain();
    }
    EXPECT_EQ(next, w.view());
    EXPECT_FALSE(w.findChild<QLabel*>("Image1")->pixmap().isNull());
}

TEST(InfoWindow, HeadingGrowsOnOneLineAndTextKeepsItsLines) {
    InfoWindowDialog w;
    const QSize design = w.heading()->size();
    w.setHeading("类型的详细说明，一个比设计时长得多的标题");
    EXPECT_GT(w.heading()->width(), design.width() * 2);
    EXPECT_EQ(w.heading()->height(), design.height());

    const std::string longLine(400, 'x');
    w.setText("第一行\r\n" + longLine + "\r\n\r\n末行");
    EXPECT_EQ(w.view()->document()->blockCount(), 4);
    EXPECT_EQ(w.view()->document()->findBlockByNumber(1).text().size(), 400);

    w.setTextColors(kBlue, kWhite);
    EXPECT_EQ(w.view()->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(w.view()->palette().color(QPalette::Base), QColor(255, 255, 255));
    w.setTextFontSize(15);
    EXPECT_DOUBLE_EQ(w.view()->font().pointSizeF(), 15.0);
}

TEST(InfoWindow, OpensWithFocusOnCloseWhichEndsTheModalShow) {
    InfoWindowDialog w;
    w.setText(std::string(300, 'y') + "\r\nline two");
    bool focusOnClose = false;
    bool upAfterEscape = false;
    bool scrollsSideways = false;
    whenUp([&](QWidget* up) {
        focusOnClose = up->focusWidget() == w.closeButton();
        typeKey(up, Qt::Key_Escape);
        typeKey(up, Qt::Key_Return);
        upAfterEscape = up->isVisible();
        scrollsSideways = w.view()->horizontalScrollBar()->maximum() > 0;
        w.closeButton()->click();
    });
    w.showModal();
    EXPECT_TRUE(focusOnClose);
    EXPECT_TRUE(upAfterEscape) << "Escape and Enter leave the window open";
    EXPECT_TRUE(scrollsSideways) << "long lines are not wrapped";
    EXPECT_FALSE(w.isVisible());
}

TEST(InfoWindow, CloseBoxEndsTheModalShow) {
    InfoWindowDialog w;
    whenUp([](QWidget* up) { up->close(); });
    w.showModal();
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace scourix
