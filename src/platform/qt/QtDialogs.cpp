#include "platform/qt/QtDialogs.h"

#include "platform/qt/ArrowWhileModal.h"
#include "platform/qt/InputBoxDialog.h"
#include "platform/qt/MessageBoxDialog.h"

namespace scourix {

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
