#include "platform/qt/InputBoxDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/VisibleText.h"
#include "platform/qt/MessageBoxDialog.h"

namespace scourix {

InputBoxDialog::InputBoxDialog(const std::string& prompt, const std::string& title,
                               const std::string& defaultText, QWidget* parent)
    : QDialog(parent),
      defaultText_(defaultText),
      edit_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("确定"), this)),
      cancel_(new QPushButton(QStringLiteral("取消"), this)) {
    setObjectName(QStringLiteral("inputBox"));
    setWindowTitle(title.empty() ? QStringLiteral("Scourix") : QString::fromStdString(title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* promptLabel = new QLabel(MessageBoxDialog::displayText(prompt), this);
    promptLabel->setObjectName(QStringLiteral("prompt"));
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptLabel->setMinimumWidth(260);

    edit_->setObjectName(QStringLiteral("text"));
    const std::string shown = visibleText(defaultText);
    shownDefault_ = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    edit_->setText(shownDefault_);
    edit_->selectAll();

    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    ok_->setDefault(true);
    for (QPushButton* b : {ok_, cancel_}) {
        b->setMinimumWidth(75);
    }
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(16);
    grid->addWidget(promptLabel, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(edit_, 1, 0, 1, 2);
    grid->setRowMinimumHeight(0, 80);

    setTabOrder(edit_, ok_);
    setTabOrder(ok_, cancel_);
    edit_->setFocus(Qt::OtherFocusReason);
}

std::string InputBoxDialog::answer() const {
    if (result() != QDialog::Accepted) {
        return {};
    }
    // The default confirmed as shown is the default itself, byte for byte, even where its
    // bytes are not UTF-8 and were shown as escapes.
    return edit_->text() == shownDefault_ ? defaultText_ : edit_->text().toStdString();
}

}  // namespace scourix
