#include "gui/StartupMessages.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/CommandLine.h"

namespace scourix {

namespace {

struct Held {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QtMessageHandler previous = nullptr;
bool holding = false;
std::vector<Held> held;

void pass(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (previous != nullptr) {
        previous(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

}  // namespace

StartupMessages::StartupMessages() {
    holding = true;
    previous = qInstallMessageHandler(&StartupMessages::handle);
}

StartupMessages::~StartupMessages() {
    started();
    qInstallMessageHandler(previous);
}

void StartupMessages::started() {
    holding = false;
    for (const Held& h : held) {
        const QMessageLogContext context(h.file.constData(), h.line, h.function.constData(),
                                         h.category.constData());
        pass(h.type, context, h.text);
    }
    held.clear();
}

void StartupMessages::handle(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (!holding) {
        pass(type, context, text);
        return;
    }
    if (type != QtFatalMsg) {
        held.push_back(
            {type, context.file, context.function, context.category, context.line, text});
        return;
    }
    // The first of the platform layer's own messages names the cause ("could not connect to
    // display"); Qt's closing words only say that no plug-in could be loaded.
    QString cause = text.section(QLatin1Char('\n'), 0, 0);
    for (const Held& h : held) {
        if (h.category.startsWith("qt.qpa")) {
            cause = h.text;
            break;
        }
    }
    std::fprintf(stderr, "scourix：无法打开窗口（%s）。需要 X11 或 Wayland 的显示。\n",
                 qPrintable(cause.simplified()));
    std::fflush(stderr);
    std::_Exit(CommandLine::kUsageError);
}

}  // namespace scourix
