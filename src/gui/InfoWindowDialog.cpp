#include "gui/InfoWindowDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/WindowDesign.h"
#include "gui/AppIcon.h"
#include "gui/CjkFont.h"
#include "platform/qt/ArrowWhileModal.h"
#include "platform/qt/MessageBoxDialog.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/Twips.h"

namespace scourix {

namespace {

QColor toQColor(Color c) {
    return QColor(c.red, c.green, c.blue);
}

QString toQt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

InfoWindowDialog::InfoWindowDialog(QWidget* parent)
    : QDialog(parent),
      heading_(new QLabel(this)),
      view_(new QPlainTextEdit(this)),
      close_(new QPushButton(this)),
      image_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmErr"));
    setWindowTitle(toQt(kInfoWindowCaption));
    setWindowIcon(AppIcon::icon());
    // A fixed dialog border with only the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const double dx = Twips::dpiX(this);
    const double dy = Twips::dpiY(this);
    auto place = [&](QWidget* w, Rect r) {
        w->setGeometry(Twips::toPixels(r.left, dx), Twips::toPixels(r.top, dy),
                       Twips::toPixels(r.width, dx), Twips::toPixels(r.height, dy));
    };
    setFixedSize(Twips::toPixels(kInfoClientWidth, dx), Twips::toPixels(kInfoClientHeight, dy));

    QPalette cream = palette();
    cream.setColor(QPalette::Window, toQColor(kCream));
    setPalette(cream);
    setAutoFillBackground(true);

    heading_->setObjectName(QStringLiteral("Label1"));
    heading_->setTextFormat(Qt::PlainText);
    heading_->setWordWrap(false);
    heading_->setFont(CjkFont::font(14.25));
    heading_->setProperty(QtControls::kAutoSizeProperty, true);
    place(heading_, kInfoHeadingRect);
    heading_->setText(toQt(kInfoDesignHeading));
    heading_->adjustSize();

    view_->setObjectName(QStringLiteral("Text1"));
    place(view_, kInfoTextRect);
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setTabChangesFocus(true);
    view_->setFont(CjkFont::font(9.75));
    // The view starts on the window's own background.
    setTextColors(Color{0, 0, 0}, kCream);

    close_->setObjectName(QStringLiteral("OKButton"));
    close_->setText(toQt(kInfoCloseCaption));
    place(close_, kInfoCloseRect);
    close_->setDefault(false);
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QWidget::hide);

    image_->setObjectName(QStringLiteral("Image1"));
    place(image_, kInfoImageRect);
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_->setPixmap(AppIcon::pixmap(32));

    setTabOrder(close_, view_);
}

void InfoWindowDialog::setText(std::string text) {
    view_->setPlainText(MessageBoxDialog::displayText(text));
}

void InfoWindowDialog::setTextColors(Color text, Color background) {
    QPalette p = view_->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Text, toQColor(text));
        p.setColor(g, QPalette::Base, toQColor(background));
    }
    view_->setPalette(p);
}

void InfoWindowDialog::setTextFontSize(double points) {
    QFont f = view_->font();
    f.setPointSizeF(points);
    view_->setFont(f);
}

void InfoWindowDialog::setHeading(std::string heading) {
    heading_->setText(toQt(heading));
    heading_->adjustSize();
}

void InfoWindowDialog::showModal() {
    const ArrowWhileModal arrow;
    exec();
}

void InfoWindowDialog::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape does nothing. Enter presses the button that has the focus,
    // though it is not the window's default button.
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void InfoWindowDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    close_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace scourix
