#include "gui/SignalCloser.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

#include "app/MainForm.h"
#include "gui/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/qt/MessageBoxDialog.h"
#include "platform/qt/QtWindowSystem.h"

namespace scourix {

namespace {

// The self-pipe: the handler only writes a byte, the event loop reads it.
volatile std::sig_atomic_t writeEnd = -1;
int readEnd = -1;

extern "C" void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(writeEnd, &byte, 1);
    errno = saved;
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

SignalCloser::SignalCloser(MainWindow& window) : window_(window) {
    steps_.setInterval(20);
    connect(&steps_, &QTimer::timeout, this, &SignalCloser::step);
    int ends[2];
    // Without the pipe the signals keep their default action: the program ends unsaved.
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalCloser::received);
    handle(SIGTERM, onSignal);
    handle(SIGINT, onSignal);
}

SignalCloser::~SignalCloser() {
    if (!notifier_) {
        return;
    }
    handle(SIGTERM, SIG_DFL);
    handle(SIGINT, SIG_DFL);
    delete notifier_;
    ::close(readEnd);
    ::close(writeEnd);
    readEnd = -1;
    writeEnd = -1;
}

void SignalCloser::received() {
    char bytes[64];
    ssize_t n;
    while ((n = ::read(readEnd, bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (requested_) {
                window_.windowSystem().endNow();
                return;
            }
            requested_ = true;
            steps_.start();
            // The first try at once: a scan may finish well within one period.
            QMetaObject::invokeMethod(this, &SignalCloser::step, Qt::QueuedConnection);
        }
    }
}

void SignalCloser::step() {
    // Whatever waits for the user first gives way, so that its procedure can return.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        dismiss(modal);
        return;
    }
    // The closing below is under way: only its boxes are answered.
    if (closing_) {
        return;
    }
    MainForm& form = window_.form();
    // Closing is refused before start-up has finished and until a scan has unwound.
    if (!form.state().startUpDone) {
        return;
    }
    if (form.state().scanActive || !form.state().bStop) {
        form.cmdStopFind_Click();
        return;
    }
    // The timer keeps going while the closing runs, so that a box it raises (a settings
    // folder that cannot be written) is answered as soon as it is up: a logout waits for
    // nobody.
    closing_ = true;
    form.cmdClose_Click();
    closing_ = false;
    steps_.stop();
}

void SignalCloser::dismiss(QWidget* modal) {
    if (auto* box = qobject_cast<MessageBoxDialog*>(modal)) {
        // Cancel where the box has it, else No or Abort: the answers that change nothing.
        int answer = box->escapeAnswer();
        for (const QPushButton* button : box->buttons()) {
            const int a = box->answerOf(button);
            if (answer == 0 && (a == mb::kIdNo || a == mb::kIdAbort)) {
                answer = a;
            }
        }
        box->done(answer);
    } else {
        // A dialog's close box cancels it: the input box answers "", the information
        // window just goes.
        modal->close();
    }
}

}  // namespace scourix
