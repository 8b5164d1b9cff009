#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "platform/qt/InputBoxDialog.h"
#include "platform/qt/MessageBoxDialog.h"
#include "platform/qt/QtDialogs.h"

namespace scourix {
namespace {

using test::typeKey;
using test::whenUp;

QStringList captions(const MessageBoxDialog& box) {
    QStringList out;
    for (const QPushButton* b : box.buttons()) {
        out << b->text();
    }
    return out;
}

QString defaultCaption(const MessageBoxDialog& box) {
    for (const QPushButton* b : box.buttons()) {
        if (b->isDefault()) {
            return b->text();
        }
    }
    return {};
}

TEST(MessageBox, ButtonsIconAndDefaultComeFromTheFlags) {
    struct Case {
        int flags;
        QStringList buttons;
        QString defaultButton;
        std::vector<int> answers;
    };
    const std::vector<Case> cases{
        {0, {"确定"}, "确定", {1}},
        {1 + 256, {"确定", "取消"}, "取消", {1, 2}},
        {2, {"中止(&A)", "重试(&R)", "忽略(&I)"}, "中止(&A)", {3, 4, 5}},
        {2 + 256, {"中止(&A)", "重试(&R)", "忽略(&I)"}, "重试(&R)", {3, 4, 5}},
        {4 + 64, {"是(&Y)", "否(&N)"}, "是(&Y)", {6, 7}},
        {4 + 48 + 256, {"是(&Y)", "否(&N)"}, "否(&N)", {6, 7}},
    };
    for (const Case& c : cases) {
        MessageBoxDialog box("text", c.flags, "t");
        EXPECT_EQ(captions(box), c.buttons) << c.flags;
        EXPECT_EQ(defaultCaption(box), c.defaultButton) << c.flags;
        for (std::size_t i = 0; i < c.answers.size(); ++i) {
            EXPECT_EQ(box.answerOf(box.buttons()[i]), c.answers[i]) << c.flags;
        }
    }
    EXPECT_NE(MessageBoxDialog("t", 16, "").findChild<QLabel*>("icon"), nullptr);
    EXPECT_EQ(MessageBoxDialog("t", 0, "").findChild<QLabel*>("icon"), nullptr);
}

TEST(MessageBox, TitleAndLineBreaks) {
    MessageBoxDialog untitled("第一行\r\n\r\n第三行", 16, "");
    EXPECT_EQ(untitled.windowTitle(), QStringLiteral("Scourix"));
    EXPECT_EQ(untitled.findChild<QLabel*>("text")->text(), QStringLiteral("第一行\n\n第三行"));
    EXPECT_EQ(untitled.findChild<QLabel*>("text")->textFormat(), Qt::PlainText);
    MessageBoxDialog titled("<b>x</b>", 0, "查找");
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("查找"));
}

// Shows a real box through QtDialogs and answers it with `act`.
int answer(int flags, std::function<void(QWidget*)> act) {
    whenUp(std::move(act));
    QtDialogs dialogs(nullptr);
    return dialogs.messageBox("问题", flags, "");
}

TEST(MessageBox, EnterAndMnemonicLettersAnswerWithoutAlt) {
    EXPECT_EQ(answer(4 + 256, [](QWidget* w) { typeKey(w, Qt::Key_Return); }), mb::kIdNo);
    EXPECT_EQ(answer(4, [](QWidget* w) { typeKey(w, Qt::Key_Y, Qt::NoModifier, "y"); }),
              mb::kIdYes);
    EXPECT_EQ(answer(2, [](QWidget* w) { typeKey(w, Qt::Key_R, Qt::ShiftModifier, "R"); }),
              mb::kIdRetry);
    EXPECT_EQ(answer(2, [](QWidget* w) { typeKey(w, Qt::Key_I, Qt::AltModifier); }), mb::kIdIgnore);
}

TEST(MessageBox, EscapeAndTheCloseBoxAnswerCancelOrOk) {
    EXPECT_EQ(answer(1, [](QWidget* w) { typeKey(w, Qt::Key_Escape); }), mb::kIdCancel);
    EXPECT_EQ(answer(0, [](QWidget* w) { typeKey(w, Qt::Key_Escape); }), mb::kIdOk);
    EXPECT_EQ(answer(1 + 256, [](QWidget* w) { w->close(); }), mb::kIdCancel);
    EXPECT_EQ(answer(0, [](QWidget* w) { w->close(); }), mb::kIdOk);
}

TEST(MessageBox, YesNoAndAbortRetryIgnoreCannotBeDismissed) {
    for (int flags : {4, 2}) {
        bool stillUp = false;
        const int got = answer(flags, [&](QWidget* w) {
            typeKey(w, Qt::Key_Escape);
            w->close();
            stillUp = w->isVisible();
            // Then a real answer: the second button.
            typeKey(w, flags == 4 ? Qt::Key_N : Qt::Key_R);
        });
        EXPECT_TRUE(stillUp) << flags;
        EXPECT_EQ(got, flags == 4 ? mb::kIdNo : mb::kIdRetry);
    }
    MessageBoxDialog box("t", 4, "");
    EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(InputBox, StartsWithTheDefaultSelectedAndAnswersTheText) {
    InputBoxDialog box("请输入类型", "", "*.tmp");
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Scourix"));
    EXPECT_EQ(box.edit()->selectedText(), QStringLiteral("*.tmp"));
    EXPECT_EQ(box.okButton()->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.cancelButton()->text(), QStringLiteral("取消"));

    QtDialogs dialogs(nullptr);
    whenUp([](QWidget* w) {
        static_cast<InputBoxDialog*>(w)->edit()->setText(QStringLiteral("新的 名字"));
        typeKey(w, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.inputBox("p", "标题", "old"), "新的 名字");
}

TEST(InputBox, CancelEscapeAndCloseBoxAnswerEmpty) {
    QtDialogs dialogs(nullptr);
    whenUp([](QWidget* w) { static_cast<InputBoxDialog*>(w)->cancelButton()->click(); });
    EXPECT_EQ(dialogs.inputBox("p", "", "kept?"), "");
    whenUp([](QWidget* w) { typeKey(w, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.inputBox("p", "", "kept?"), "");
    whenUp([](QWidget* w) { w->close(); });
    EXPECT_EQ(dialogs.inputBox("p", "", "kept?"), "");
}

}  // namespace
}  // namespace scourix
