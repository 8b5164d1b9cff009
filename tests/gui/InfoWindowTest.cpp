#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "GuiTestSupport.h"
#include "gui/InfoWindowDialog.h"

namespace scourix {
namespace {

using test::typeKey;

TEST(InfoWindow, HeadingGrowsOnOneLineAndTheTextKeepsItsLinesColoursAndSize) {
    InfoWindowDialog w;
    EXPECT_EQ(w.objectName(), QStringLiteral("frmErr"));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    const QSize design = w.heading()->size();
    w.setHeading("类型的详细说明，一个比设计时长得多的标题");
    EXPECT_GT(w.heading()->width(), design.width() * 2);
    EXPECT_EQ(w.heading()->height(), design.height());
    w.setText("第一行\r\n" + std::string(400, 'x') + "\r\n\r\n末行");
    EXPECT_EQ(w.view()->toPlainText(), "第一行\n" + QString(400, 'x') + "\n\n末行");
    w.setTextColors(kBlue, kWhite);
    EXPECT_EQ(w.view()->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(w.view()->palette().color(QPalette::Base), QColor(255, 255, 255));
    w.setTextFontSize(15);
    EXPECT_DOUBLE_EQ(w.view()->font().pointSizeF(), 15.0);
}

TEST(InfoWindow, OpensWithFocusOnCloseAndOnlyCloseOrTheCloseBoxEndIt) {
    enum class End { Click, CloseBox, EnterOnClose };
    for (End end : {End::Click, End::CloseBox, End::EnterOnClose}) {
        InfoWindowDialog w;
        w.setText(std::string(300, 'y') + "\r\nline two");
        QWidget* afterClose = nullptr;
        bool focusOnClose = false, upAfterKeys = false, scrollsSideways = false;
        test::whenUp([&](QWidget* up) {
            focusOnClose = up->focusWidget() == w.closeButton();
            typeKey(up, Qt::Key_Tab);
            afterClose = up->focusWidget();
            typeKey(up, Qt::Key_Escape);
            typeKey(up, Qt::Key_Return);  // on the text, not on a button
            upAfterKeys = up->isVisible();
            scrollsSideways = w.view()->horizontalScrollBar()->maximum() > 0;
            if (end == End::EnterOnClose) {
                w.closeButton()->setFocus();
                typeKey(up, Qt::Key_Return);
            } else {
                end == End::CloseBox ? (void)up->close() : w.closeButton()->click();
            }
        });
        w.showModal();
        EXPECT_TRUE(focusOnClose);
        EXPECT_EQ(afterClose, w.view()) << "Tab goes from 关闭 to the text";
        EXPECT_TRUE(upAfterKeys) << "Escape, and Enter on the text, leave the window open";
        EXPECT_TRUE(scrollsSideways) << "long lines are not wrapped";
        EXPECT_FALSE(w.isVisible());
    }
}

}  // namespace
}  // namespace scourix
