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

TEST(MessageBox, ButtonsIconAndDefaultComeFromTheFlags) {
    const std::pair<int, QString> cases[] = {
        {0, "*确定=1"},
        {1 + 256, "确定=1 *取消=2"},
        {2, "*中止(&A)=3 重试(&R)=4 忽略(&I)=5"},
        {2 + 256, "中止(&A)=3 *重试(&R)=4 忽略(&I)=5"},
        {4 + 64, "*是(&Y)=6 否(&N)=7"},
        {4 + 48 + 256, "是(&Y)=6 *否(&N)=7"},
    };
    for (const auto& [flags, buttons] : cases) {
        MessageBoxDialog box("text", flags, "t");
        QStringList shown;  // the default button marked with "*", with its answer
        for (QPushButton* b : box.buttons()) {
            shown << (b->isDefault() ? "*" : "") + b->text() + "=" +
                         QString::number(box.answerOf(b));
        }
        EXPECT_EQ(shown.join(' '), buttons) << flags;
    }
    EXPECT_NE(MessageBoxDialog("t", 16, "").findChild<QLabel*>("icon"), nullptr);
    EXPECT_EQ(MessageBoxDialog("t", 0, "").findChild<QLabel*>("icon"), nullptr);
}

TEST(MessageBox, TitleAndPlainTextLines) {
    MessageBoxDialog untitled("第一行\r\n\r\n<b>三</b>", 16, "");
    EXPECT_EQ(untitled.windowTitle(), QStringLiteral("Scourix"));
    EXPECT_EQ(untitled.findChild<QLabel*>("text")->text(), QStringLiteral("第一行\n\n<b>三</b>"));
    EXPECT_EQ(untitled.findChild<QLabel*>("text")->textFormat(), Qt::PlainText);
    EXPECT_EQ(MessageBoxDialog("x", 0, "查找").windowTitle(), QStringLiteral("查找"));
}

// Shows a real box through QtDialogs and answers it with `act`.
int answer(int flags, std::function<void(QWidget*)> act) {
    whenUp(std::move(act));
    return QtDialogs(nullptr).messageBox("问题", flags, "");
}

TEST(MessageBox, EnterMnemonicsEscapeAndTheCloseBox) {
    // Mnemonic letters answer with or without Alt.
    EXPECT_EQ(answer(4 + 256, [](QWidget* w) { typeKey(w, Qt::Key_Return); }), mb::kIdNo);
    EXPECT_EQ(answer(4, [](QWidget* w) { typeKey(w, Qt::Key_Y, Qt::NoModifier, "y"); }),
              mb::kIdYes);
    EXPECT_EQ(answer(2, [](QWidget* w) { typeKey(w, Qt::Key_R, Qt::ShiftModifier, "R"); }),
              mb::kIdRetry);
    EXPECT_EQ(answer(2, [](QWidget* w) { typeKey(w, Qt::Key_I, Qt::AltModifier); }), mb::kIdIgnore);
    // Escape and the close box answer Cancel, or OK in a box with only that.
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
            typeKey(w, flags == 4 ? Qt::Key_N : Qt::Key_R);  // then a real answer
        });
        EXPECT_TRUE(stillUp) << flags;
        EXPECT_EQ(got, flags == 4 ? mb::kIdNo : mb::kIdRetry);
    }
    EXPECT_FALSE(MessageBoxDialog("t", 4, "").windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(InputBox, StartsWithTheDefaultSelectedAndAnswersTheTextOrEmpty) {
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
    using Act = std::function<void(QWidget*)>;
    const Act cancels[] = {
        [](QWidget* w) { static_cast<InputBoxDialog*>(w)->cancelButton()->click(); },
        [](QWidget* w) { typeKey(w, Qt::Key_Escape); }, [](QWidget* w) { w->close(); }};
    for (const Act& cancel : cancels) {
        whenUp(cancel);
        EXPECT_EQ(dialogs.inputBox("p", "", "kept?"), "");
    }
    // A default that is not UTF-8 shows its stray bytes as escapes; confirmed as shown, it
    // comes back as its own bytes.
    QString shown;
    whenUp([&](QWidget* w) {
        shown = static_cast<InputBoxDialog*>(w)->edit()->text();
        typeKey(w, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.inputBox("p", "", "\xff\xfe bad.tmp"), "\xff\xfe bad.tmp");
    EXPECT_EQ(shown, QStringLiteral("\\xFF\\xFE bad.tmp"));
}

}  // namespace
}  // namespace scourix
