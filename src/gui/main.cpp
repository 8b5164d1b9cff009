#include <QApplication>
#include <clocale>

#include "app/MainForm.h"
#include "gui/AppIcon.h"
#include "gui/CommandLine.h"
#include "gui/MainWindow.h"
#include "gui/SignalCloser.h"
#include "gui/StartupMessages.h"

int main(int argc, char* argv[]) {
    // strerror and the like speak the user's language.
    std::setlocale(LC_ALL, "");
    if (const std::optional<int> status = scourix::CommandLine::early(argc, argv)) {
        return *status;
    }
    QApplication::setApplicationName(QStringLiteral("Scourix"));
    QApplication::setApplicationVersion(QStringLiteral("1.51"));
    // The desktop entry's name: docks and Wayland compositors find the entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.example.scourix"));

    scourix::StartupMessages startup;
    QApplication app(argc, argv);
    startup.started();
    if (const std::optional<int> status = scourix::CommandLine::leftover(argc, argv)) {
        return *status;
    }
    QApplication::setWindowIcon(scourix::AppIcon::icon());

    scourix::MainWindow window;
    // A logout's SIGTERM closes the window as 关闭 does: the pattern list is kept.
    scourix::SignalCloser closeOnSignal(window);
    // Start-up shows the window and lets its events run once before filling the lists.
    window.load();
    return QApplication::exec();
}
