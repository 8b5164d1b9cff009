#pragma once

#include <QObject>
#include <QTimer>

class QSocketNotifier;
class QWidget;

namespace scourix {

class MainWindow;

// SIGTERM and SIGINT close the program as the user's 关闭 would, so that a desktop logout
// or a test ends it cleanly: a box or menu that is up gets its cancel answer, a running
// scan is stopped and left to unwind, then the normal closing runs, every box it raises
// answered the same way at once. A second signal ends the program there and then.
// One at a time: the signal handlers are the process's.
class SignalCloser final : public QObject {
    Q_OBJECT

public:
    explicit SignalCloser(MainWindow& window);
    ~SignalCloser() override;
    SignalCloser(const SignalCloser&) = delete;
    SignalCloser& operator=(const SignalCloser&) = delete;

private:
    void received();
    // One try at closing; the timer repeats it until the window can close.
    void step();
    static void dismiss(QWidget* modal);

    MainWindow& window_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer steps_;
    bool requested_ = false;
    bool closing_ = false;
};

}  // namespace scourix
