#pragma once

#include <QtGlobal>

namespace scourix {

// While Qt starts, its messages are held back. When it cannot load its platform plug-in
// (no display; or a program started by pkexec, which passes on X11's display alone, under
// a desktop without Xwayland) Qt writes a few lines and ends with a fatal message and an
// abort; the user gets one line and status 2 instead. Once the application is up, the held
// messages go out as they would have. One at a time: the message handler is the process's.
class StartupMessages {
public:
    StartupMessages();
    ~StartupMessages();
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    // Qt is up: what was held goes out, and from now on every message passes at once.
    void started();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
};

}  // namespace scourix
