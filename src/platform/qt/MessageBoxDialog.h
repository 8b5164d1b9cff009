#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPushButton;

namespace scourix {

// The message box as the program's users know it from their system: Chinese button
// texts, icon and buttons from the flags, the second or third button as default on
// request. Escape and the close box answer Cancel (or OK in a box with only OK); a box
// that asks Yes/No or Abort/Retry/Ignore cannot be dismissed without an answer. Each
// button's mnemonic letter works without Alt. exec() returns the answer (1 OK ... 7 No).
class MessageBoxDialog : public QDialog {
    Q_OBJECT

public:
    MessageBoxDialog(const std::string& text, int flags, const std::string& title,
                     QWidget* parent = nullptr);

    // The buttons from left to right, and the one a button press answers.
    const std::vector<QPushButton*>& buttons() const { return buttons_; }
    int answerOf(const QPushButton* button) const;
    // The answer that Escape and the close box give; 0 when they give none.
    int escapeAnswer() const { return escapeAnswer_; }

    // CR LF (or a lone CR) as a line break.
    static QString displayText(const std::string& text);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addButton(const char* caption, int answer);

    std::vector<QPushButton*> buttons_;
    std::vector<int> answers_;
    int escapeAnswer_ = 0;
};

}  // namespace scourix
