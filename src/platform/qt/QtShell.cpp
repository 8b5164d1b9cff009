#include "platform/qt/QtShell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QMimeDatabase>
#include <QProcess>
#include <cerrno>
#include <fstream>
#include <thread>

#include "platform/qt/DesktopEntry.h"

extern char** environ;

namespace scourix {

namespace {

QByteArray bytesOf(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    char buf[4096];
    if (getcwd(buf, sizeof buf) == nullptr) {
        return path;
    }
    return std::string(buf) + "/" + path;
}

// The text of a desktop entry; entries are small, so a large file is none.
std::string entryText(const std::string& path) {
    constexpr std::size_t kMaxEntry = 1 << 20;
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxEntry, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

}  // namespace

OpenOutcome QtShell::openDocument(const std::string& path, const std::string& head) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        return OpenOutcome::Failed;
    }
    const std::optional<QString> application = defaultApplication(mimeTypeOf(path, bytesOf(head)));
    if (application && application->isEmpty()) {
        return OpenOutcome::NoAssociation;
    }
    return spawnDetached({"xdg-open", absolute(path)}) ? OpenOutcome::Opened
                                                       : OpenOutcome::OpenerMissing;
}

bool QtShell::showProperties(const std::string& path) {
    const QString fileManager = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (daemon == nullptr || (!daemon->isServiceRegistered(fileManager).value() &&
                              !daemon->activatableServiceNames().value().contains(fileManager))) {
        return false;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(fileManager, QStringLiteral("/org/freedesktop/FileManager1"),
                                       fileManager, QStringLiteral("ShowItemProperties"));
    call << QStringList{fileUri(path)} << QString();
    // Nobody waits for the answer: the file manager may take a while to start.
    bus.asyncCall(call, 5000);
    return true;
}

OpenOutcome QtShell::openTextFile(const std::string& path) {
    // Always absolute: a name beginning with "-" would be taken for an option.
    const std::string file = absolute(path);
    // The desktop's text editor whatever the name's type: the opener would take x.html to
    // a web browser. The editor is started from its desktop entry, as the desktop would.
    const std::optional<QString> editor = defaultApplication(QStringLiteral("text/plain"));
    if (editor && !editor->isEmpty()) {
        // Some desktops name several, the first being the default.
        const std::string entry =
            DesktopEntry::find(editor->section(QLatin1Char(';'), 0, 0).trimmed().toStdString());
        const std::vector<std::string> command =
            entry.empty() ? std::vector<std::string>{}
                          : DesktopEntry::commandFor(entryText(entry), entry, file);
        if (!command.empty() && spawnDetached(command)) {
            return OpenOutcome::Opened;
        }
    }
    // Without a known editor, the opener is trusted only with a name it takes for text.
    if (mimeTypeOf(file, {}) != QStringLiteral("text/plain")) {
        return OpenOutcome::NoAssociation;
    }
    return spawnDetached({"xdg-open", file}) ? OpenOutcome::Opened : OpenOutcome::OpenerMissing;
}

QString QtShell::fileUri(const std::string& path) {
    return QString::fromLatin1(DesktopEntry::fileUri(absolute(path)));
}

QString QtShell::mimeTypeOf(const std::string& path, const QByteArray& head) {
    QMimeDatabase db;
    const std::string::size_type slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return db.mimeTypeForFileNameAndData(QString::fromUtf8(bytesOf(name)), head).name();
}

std::optional<QString> QtShell::defaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(3000)) {
        return std::nullopt;
    }
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(query.readAllStandardOutput().trimmed());
}

bool QtShell::spawnDetached(const std::vector<std::string>& command) {
    if (command.empty()) {
        return false;
    }
    std::vector<std::string> args(command);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    // The program may outlive the call; it is reaped when it ends, without holding up
    // the window.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace scourix
