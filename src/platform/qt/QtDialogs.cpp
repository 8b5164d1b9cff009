#include "platform/qt/QtDialogs.h"

#include <QApplication>

#include "platform/qt/InputBoxDialog.h"
#include "platform/qt/MessageBoxDialog.h"

namespace scourix {

namespace {

// A box shown while the hourglass is up would get it too; boxes wait for the user.
class ArrowWhileModal {
public:
    ArrowWhileModal() : overridden_(QApplication::overrideCursor() != nullptr) {
        if (overridden_) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowWhileModal() {
        if (overridden_) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowWhileModal(const ArrowWhileModal&) = delete;
    ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

private:
    bool overridden_;
};

}  // namespace

int QtDialogs::messageBox(const std::string& text, int flags, const std::string& title) {
    ArrowWhileModal arrow;
    MessageBoxDialog box(text, flags, title, owner_);
    const int answer = box.exec();
    // A box hidden from outside, without an answer, answers as its first button would.
    return answer != 0 ? answer : box.answerOf(box.buttons().front());
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    ArrowWhileModal arrow;
    InputBoxDialog box(prompt, title, defaultText, owner_);
    box.exec();
    return box.answer();
}

}  // namespace scourix
