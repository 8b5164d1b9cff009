#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "GuiTestSupport.h"
#include "gui/InfoWindowDialog.h"
#include "platform/qt/InputBoxDialog.h"
#include "platform/qt/MessageBoxDialog.h"
#include "platform/qt/QtDialogs.h"

namespace scourix {

using test::typeKey;
using Act = std::function<void(QWidget*)>;

TEST(MessageBox, ButtonsIconDefaultAndAnswersComeFromTheFlagsAndLongPathsWrap) {
    const std::pair<int, QString> cases[] = {
        {0, "*确定=1"},
        {1 + 48 + 256, "确定=1 *取消=2"},
        {2 + 16, "*中止(&A)=3 重试(&R)=4 忽略(&I)=5"},
        {3 + 32 + 512, "是(&Y)=6 否(&N)=7 *取消=2"},
        {4 + 64, "*是(&Y)=6 否(&N)=7"},
        {5, "*重试(&R)=4 取消=2"},
    };
    for (const auto& [flags, buttons] : cases) {
        MessageBoxDialog box("text", flags, "t");
        QStringList shown;  // the default button marked with "*", with its answer
        for (QPushButton* b : box.buttons()) {
            shown << (b->isDefault() ? "*" : "") + b->text() + "=" +
                         QString::number(box.answerOf(b));
        }
        EXPECT_EQ(shown.join(' '), buttons) << flags;
        EXPECT_EQ(box.findChild<QLabel*>("icon") != nullptr, (flags & 0x70) != 0) << flags;
    }
    MessageBoxDialog warning("text", 48, "");  // the style's own sign
    EXPECT_EQ(warning.findChild<QLabel*>("icon")->pixmap().toImage(),
              warning.style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage());
    MessageBoxDialog untitled("第一行\r\n\r\n<b>三</b>", 16, "");
    EXPECT_EQ(untitled.windowTitle() + untitled.findChild<QLabel*>("text")->text(),
              QStringLiteral("Scourix第一行\n\n<b>三</b>"));
    EXPECT_EQ(untitled.findChild<QLabel*>("text")->textFormat(), Qt::PlainText);
    EXPECT_EQ(MessageBoxDialog("x", 0, "查找").windowTitle(), QStringLiteral("查找"));
    // A long path wraps inside a box no wider than the screen, every line of it in view; so
    // does a long name without a place to break (hexadecimal digits, say).
    std::string folders = "/";
    for (int i = 0; i < 40; ++i) {
        folders += "a_rather_long_folder_name/";
    }
    for (const std::string& path : {folders, "/cache/" + std::string(240, 'f')}) {
        MessageBoxDialog box("无法删除：\r\n" + path + "report.tmp", 16, "");
        box.show();
        const auto* text = box.findChild<QLabel*>("text");
        EXPECT_LE(box.width(), box.screen()->availableGeometry().width()) << path;
        EXPECT_TRUE(text->sizeHint().width() <= text->width() &&
                    text->height() >= text->heightForWidth(text->width()))
            << path;
    }
}

// Answers with a key only if the box is still up (else it answers as its first button).
static void stillUp(QWidget* w, int key) {
    w->isVisible() ? typeKey(w, key) : void();
}

TEST(MessageBox, KeysTheCloseBoxAndHidingAnswerWhereTheBoxHasSuchAnAnswer) {
    const std::tuple<int, Act, int> cases[] = {
        {4 + 256, [](QWidget* w) { typeKey(w, Qt::Key_Return); }, mb::kIdNo},
        // Mnemonic letters answer with or without Alt or Shift.
        {4, [](QWidget* w) { typeKey(w, Qt::Key_Y, {}, "y"); }, mb::kIdYes},
        {2, [](QWidget* w) { typeKey(w, Qt::Key_R, Qt::ShiftModifier, "R"); }, mb::kIdRetry},
        {2, [](QWidget* w) { typeKey(w, Qt::Key_I, Qt::AltModifier); }, mb::kIdIgnore},
        // Escape and the close box answer Cancel, or OK in a box with only that...
        {1, [](QWidget* w) { typeKey(w, Qt::Key_Escape); }, mb::kIdCancel},
        {0, [](QWidget* w) { typeKey(w, Qt::Key_Escape); }, mb::kIdOk},
        {1 + 256, [](QWidget* w) { w->close(); }, mb::kIdCancel},
        {0, [](QWidget* w) { w->close(); }, mb::kIdOk},
        // ...and nothing where there is no such answer.
        {4, [](QWidget* w) { typeKey(w, Qt::Key_Escape), w->close(), stillUp(w, Qt::Key_N); },
         mb::kIdNo},
        // A box hidden from outside answers as its first button.
        {4 + 256, [](QWidget* w) { w->hide(); }, mb::kIdYes},
    };
    for (const auto& [flags, act, answer] : cases) {
        test::whenUp(act);
        EXPECT_EQ(QtDialogs(nullptr).messageBox("问题", flags, ""), answer) << flags;
    }
    EXPECT_FALSE(MessageBoxDialog("t", 4, "").windowFlags() & Qt::WindowCloseButtonHint);
}

// A default that is not UTF-8 shows its stray bytes as escapes; confirmed as shown, it
// comes back as its own bytes. Typing replaces it.
TEST(InputBox, StartsWithTheDefaultSelectedAndAnswersItsBytesOrNothing) {
    const std::string bad = "\xff\xfe bad.tmp";
    InputBoxDialog box("<b>请输入类型</b>", "", bad);
    EXPECT_EQ(box.findChild<QLabel*>("prompt")->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.windowTitle() + box.edit()->selectedText() + box.okButton()->text() +
                  box.cancelButton()->text(),
              QStringLiteral("Scourix\\xFF\\xFE bad.tmp确定取消"));
    const std::pair<Act, std::string> cases[] = {
        {[](QWidget* w) { typeKey(w, Qt::Key_Return); }, bad},
        {[](QWidget* w) { typeKey(w, 0, {}, "新的 名字"), typeKey(w, Qt::Key_Return); },
         "新的 名字"},
        {[](QWidget* w) { w->findChild<QPushButton*>("cancel")->click(); }, ""},
        {[](QWidget* w) { typeKey(w, Qt::Key_Escape); }, ""},
        {[](QWidget* w) { w->close(); }, ""},
    };
    for (const auto& [act, answer] : cases) {
        test::whenUp(act);
        EXPECT_EQ(QtDialogs(nullptr).inputBox("p", "标题", bad), answer);
    }
}

// The heading grows on one line; the text keeps its colour and long lines. 关闭 has
// the focus and Tab takes it to the text; Escape, and Enter on the text, leave the window up;
// only 关闭, Enter on it and the close box end it.
TEST(InfoWindow, LooksKeysAndTheWaysToCloseIt) {
    for (int end = 0; end < 3; ++end) {
        InfoWindowDialog w;
        const QSize design = w.heading()->size();
        w.setHeading("类型的详细说明，一个比设计时长得多的标题");
        w.setTextColors(kBlue, kWhite);
        w.setText(std::string(300, 'y') + "\r\nline two");
        QWidget* focus[2] = {};
        bool upAfterKeys = false;
        test::whenUp([&](QWidget* up) {
            focus[0] = up->focusWidget();
            typeKey(up, Qt::Key_Tab);
            focus[1] = up->focusWidget();
            typeKey(up, Qt::Key_Escape);
            typeKey(up, Qt::Key_Return);
            upAfterKeys = up->isVisible();
            w.closeButton()->setFocus();
            end == 0 ? w.closeButton()->click()
                     : (end == 1 ? (void)up->close() : typeKey(up, Qt::Key_Return));
        });
        w.showModal();
        EXPECT_TRUE(focus[0] == w.closeButton() && focus[1] == w.view() && upAfterKeys);
        EXPECT_TRUE(!w.isVisible() && w.closeButton()->text() == QStringLiteral("关闭"));
        EXPECT_TRUE(w.objectName() == "frmErr" && w.minimumSize() == w.maximumSize());
        EXPECT_TRUE(w.heading()->width() > design.width() * 2 &&
                    w.heading()->height() == design.height());
        EXPECT_EQ(w.view()->palette().color(QPalette::Text), Qt::blue);
        EXPECT_GT(w.view()->horizontalScrollBar()->maximum(), 0) << "long lines are not wrapped";
    }
}

}  // namespace scourix
