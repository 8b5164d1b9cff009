#include "fakes/FakeDialogs.h"

namespace scourix {
namespace {

template <class T>
T next(std::deque<T>& script, T whenUsedUp) {
    if (script.empty()) {
        return whenUsedUp;
    }
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

}  // namespace

int FakeDialogs::messageBox(const std::string& text, int flags, const std::string& title) {
    boxes.push_back({text, flags, title});
    // The answers of the first two buttons of each kind of box, by the low bits of flags.
    static constexpr int kButtons[5][2] = {{mb::kIdOk, mb::kIdOk},
                                           {mb::kIdOk, mb::kIdCancel},
                                           {mb::kIdAbort, mb::kIdRetry},
                                           {mb::kIdYes, mb::kIdNo},
                                           {mb::kIdYes, mb::kIdNo}};
    return next(answers, kButtons[(flags & 7) % 5][(flags & mb::kDefButton2) ? 1 : 0]);
}

std::string FakeDialogs::inputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
    inputBoxes.push_back({prompt, title, defaultText});
    return next(inputs, std::string());
}

}  // namespace scourix
