#pragma once

#include <string>

namespace scourix {

// Message box flags and answers, with the values the program's texts were written for.
namespace mb {
inline constexpr int kOk = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefButton2 = 256;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// "\r\n", the line break of every message and text.
inline constexpr const char* kCrLf = "\r\n";

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the answer (mb::kIdOk ...). An empty title
    // shows the application's title, "Scourix".
    virtual int messageBox(const std::string& text, int flags, const std::string& title) = 0;

    // Shows a modal input box; returns the typed text, or "" on Cancel. An empty title
    // shows "Scourix".
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
};

}  // namespace scourix
