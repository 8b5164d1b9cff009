#include "fakes/FakeDialogs.h"

namespace scourix {

int FakeDialogs::messageBox(const std::string& text, int flags, const std::string& title) {
    boxes.push_back({text, flags, title});
    if (answers.empty()) {
        return defaultAnswer(flags);
    }
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string FakeDialogs::inputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
    inputBoxes.push_back({prompt, title, defaultText});
    if (inputs.empty()) {
        return "";
    }
    std::string answer = inputs.front();
    inputs.pop_front();
    return answer;
}

int FakeDialogs::defaultAnswer(int flags) {
    const bool second = (flags & mb::kDefButton2) != 0;
    switch (flags & 7) {
        case mb::kOkCancel:
            return second ? mb::kIdCancel : mb::kIdOk;
        case mb::kAbortRetryIgnore:
            return second ? mb::kIdRetry : mb::kIdAbort;
        case mb::kYesNo:
            return second ? mb::kIdNo : mb::kIdYes;
        default:
            return mb::kIdOk;
    }
}

}  // namespace scourix
