#pragma once

#include <QDialog>

#include "platform/InfoWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace scourix {

// frmErr, the information window: a heading, a read-only text view that scrolls both
// ways without wrapping, and 关闭. It has no default and no cancel button, so Escape
// does nothing; 关闭 and the close box end the modal show.
class InfoWindowDialog final : public QDialog, public InfoWindow {
    Q_OBJECT

public:
    explicit InfoWindowDialog(QWidget* parent = nullptr);

    void setText(std::string text) override;
    void setTextColors(Color text, Color background) override;
    void setTextFontSize(double points) override;
    void setHeading(std::string heading) override;
    void showModal() override;

    QLabel* heading() const { return heading_; }
    QPlainTextEdit* view() const { return view_; }
    QPushButton* closeButton() const { return close_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* heading_;
    QPlainTextEdit* view_;
    QPushButton* close_;
    QLabel* image_;
};

}  // namespace scourix
