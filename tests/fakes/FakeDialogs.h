#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace scourix {

// Answers message and input boxes from a script and records every box shown.
class FakeDialogs : public Dialogs {
public:
    struct Box {
        std::string text;
        int flags = 0;
        std::string title;
    };
    struct Input {
        std::string prompt;
        std::string title;
        std::string defaultText;
    };

    // Answers for the next message boxes, in order. With the script used up, a box gets
    // the answer of its default button.
    std::deque<int> answers;
    // Answers for the next input boxes, in order; with the script used up, Cancel ("").
    std::deque<std::string> inputs;
    // Runs while an input box is up: what the user, or another, does meanwhile.
    std::function<void()> whileInputIsUp;

    std::vector<Box> boxes;
    std::vector<Input> inputBoxes;
    // Runs while each message box is open, after it is recorded: what a user does meanwhile.
    std::function<void()> whileOpen;

    int messageBox(const std::string& text, int flags, const std::string& title) override {
        boxes.push_back({text, flags, title});
        if (whileOpen) {
            whileOpen();
        }
        // The answers of the first two buttons of each kind of box, by the low bits of flags.
        static constexpr int kButtons[5][2] = {{mb::kIdOk, mb::kIdOk},
                                               {mb::kIdOk, mb::kIdCancel},
                                               {mb::kIdAbort, mb::kIdRetry},
                                               {mb::kIdYes, mb::kIdNo},
                                               {mb::kIdYes, mb::kIdNo}};
        return next(answers, kButtons[(flags & 7) % 5][(flags & mb::kDefButton2) ? 1 : 0]);
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        inputBoxes.push_back({prompt, title, defaultText});
        if (whileInputIsUp) {
            whileInputIsUp();
        }
        return next(inputs, std::string());
    }

private:
    template <class T>
    static T next(std::deque<T>& script, T whenUsedUp) {
        if (!script.empty()) {
            whenUsedUp = std::move(script.front());
            script.pop_front();
        }
        return whenUsedUp;
    }
};

}  // namespace scourix
