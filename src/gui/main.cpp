#include <QApplication>
#include <clocale>

#include "app/MainForm.h"
#include "gui/AppIcon.h"
#include "gui/MainWindow.h"
#include "gui/SignalCloser.h"

int main(int argc, char* argv[]) {
    // strerror and the like speak the user's language.
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scourix"));
    QApplication::setApplicationVersion(QStringLiteral("1.51"));
    QApplication::setWindowIcon(scourix::AppIcon::icon());

    scourix::MainWindow window;
    // A logout's SIGTERM closes the window as 关闭 does: the pattern list is kept.
    scourix::SignalCloser closeOnSignal(window);
    // Start-up shows the window and lets its events run once before filling the lists.
    window.load();
    return QApplication::exec();
}
