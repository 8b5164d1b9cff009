#include "platform/qt/MessageBoxDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Dialogs.h"

namespace scourix {

namespace {

QStyle::StandardPixmap iconFor(int flags) {
    switch (flags & 0x70) {
        case mb::kCritical:
            return QStyle::SP_MessageBoxCritical;
        case mb::kQuestion:
            return QStyle::SP_MessageBoxQuestion;
        case mb::kExclamation:
            return QStyle::SP_MessageBoxWarning;
        case mb::kInformation:
            return QStyle::SP_MessageBoxInformation;
        default:
            return QStyle::SP_CustomBase;  // no icon
    }
}

// The letter after "&" in a caption, upper case; 0 when there is none.
QChar mnemonicOf(const QString& caption) {
    const int at = static_cast<int>(caption.indexOf(QLatin1Char('&')));
    return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1).toUpper() : QChar();
}

// The label breaks lines only at blanks and slashes, and would cut off at its edge a run
// between them wider than itself (a long file name): such a run may break after any of its
// characters.
QString breakableRuns(const QString& text, const QFontMetrics& metrics, int limit) {
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text.at(i).isSpace() && text.at(i) != QLatin1Char('/')) {
            continue;
        }
        const QString run = text.mid(start, i - start);
        if (metrics.horizontalAdvance(run) <= limit) {
            out += run;
        } else {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, run);
            for (qsizetype from = 0, to; (to = characters.toNextBoundary()) > 0; from = to) {
                out += run.mid(from, to - from) + QChar(0x200B);  // a zero-width space
            }
        }
        out += i < text.size() ? QString(text.at(i)) : QString();
        start = i + 1;
    }
    return out;
}

}  // namespace

MessageBoxDialog::MessageBoxDialog(const std::string& text, int flags, const std::string& title,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("messageBox"));
    setWindowTitle(title.empty() ? QStringLiteral("Scourix") : QString::fromStdString(title));

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    const QStyle::StandardPixmap icon = iconFor(flags);
    if (icon != QStyle::SP_CustomBase) {
        auto* iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("icon"));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(size, size));
        iconLabel->setAlignment(Qt::AlignTop);
        body->addWidget(iconLabel, 0, Qt::AlignTop);
    }
    auto* textLabel = new QLabel(displayText(text), this);
    textLabel->setObjectName(QStringLiteral("text"));
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setTextInteractionFlags(Qt::NoTextInteraction);
    // Long lines wrap at a width the way the system's box does; short texts keep theirs.
    const int limit =
        std::max(420, (screen() ? screen()->availableGeometry().width() : 1280) * 5 / 8);
    int widest = 0;
    for (const QString& line : textLabel->text().split(QLatin1Char('\n'))) {
        widest = std::max(widest, textLabel->fontMetrics().horizontalAdvance(line));
    }
    if (widest > limit) {
        textLabel->setText(breakableRuns(textLabel->text(), textLabel->fontMetrics(), limit));
        textLabel->setWordWrap(true);
        textLabel->setFixedWidth(limit);
        textLabel->setMinimumHeight(textLabel->heightForWidth(limit));
    }
    body->addWidget(textLabel, 1, Qt::AlignVCenter);

    switch (flags & 0x0F) {
        case mb::kOkCancel:
            addButton("确定", mb::kIdOk);
            addButton("取消", mb::kIdCancel);
            escapeAnswer_ = mb::kIdCancel;
            break;
        case mb::kAbortRetryIgnore:
            addButton("中止(&A)", mb::kIdAbort);
            addButton("重试(&R)", mb::kIdRetry);
            addButton("忽略(&I)", mb::kIdIgnore);
            break;
        case 3:  // Yes, No, Cancel
            addButton("是(&Y)", mb::kIdYes);
            addButton("否(&N)", mb::kIdNo);
            addButton("取消", mb::kIdCancel);
            escapeAnswer_ = mb::kIdCancel;
            break;
        case mb::kYesNo:
            addButton("是(&Y)", mb::kIdYes);
            addButton("否(&N)", mb::kIdNo);
            break;
        case 5:  // Retry, Cancel
            addButton("重试(&R)", mb::kIdRetry);
            addButton("取消", mb::kIdCancel);
            escapeAnswer_ = mb::kIdCancel;
            break;
        default:
            addButton("确定", mb::kIdOk);
            escapeAnswer_ = mb::kIdOk;
            break;
    }

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons_) {
        row->addWidget(b);
    }
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(18);
    layout->addLayout(body);
    layout->addLayout(row);

    const std::size_t def = static_cast<std::size_t>((flags >> 8) & 3);
    QPushButton* defaultButton = buttons_[def < buttons_.size() ? def : 0];
    defaultButton->setDefault(true);
    defaultButton->setFocus(Qt::OtherFocusReason);

    // Without an answer for the close box, the box has none.
    if (escapeAnswer_ == 0) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    } else {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    }
}

void MessageBoxDialog::addButton(const char* caption, int answer) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setAutoDefault(true);
    b->setMinimumWidth(75);
    buttons_.push_back(b);
    answers_.push_back(answer);
    connect(b, &QPushButton::clicked, this, [this, answer] { done(answer); });
}

int MessageBoxDialog::answerOf(const QPushButton* button) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i] == button) {
            return answers_[i];
        }
    }
    return 0;
}

QString MessageBoxDialog::displayText(const std::string& text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void MessageBoxDialog::reject() {
    if (escapeAnswer_ != 0) {
        done(escapeAnswer_);
    }
}

void MessageBoxDialog::closeEvent(QCloseEvent* event) {
    if (escapeAnswer_ == 0) {
        event->ignore();
        return;
    }
    done(escapeAnswer_);
    event->accept();
}

void MessageBoxDialog::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    const int key = event->key();
    if (mods == Qt::NoModifier && key >= Qt::Key_A && key <= Qt::Key_Z) {
        for (QPushButton* b : buttons_) {
            if (mnemonicOf(b->text()) == QChar(key)) {
                b->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace scourix
