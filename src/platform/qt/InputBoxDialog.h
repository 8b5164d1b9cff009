#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace scourix {

// The input box: a prompt, 确定 and 取消 beside it and the text field below, starting
// with the default text selected. Escape and the close box cancel.
class InputBoxDialog : public QDialog {
    Q_OBJECT

public:
    InputBoxDialog(const std::string& prompt, const std::string& title,
                   const std::string& defaultText, QWidget* parent = nullptr);

    // The typed text after 确定 (the default's own bytes when it was left as shown), ""
    // after Cancel.
    std::string answer() const;

    QLineEdit* edit() const { return edit_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    std::string defaultText_;
    QString shownDefault_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace scourix
