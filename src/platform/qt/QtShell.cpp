#include "platform/qt/QtShell.h"

#include <fcntl.h>
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
#include <QUrl>
#include <cerrno>
#include <thread>

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

}  // namespace

OpenOutcome QtShell::openDocument(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        return OpenOutcome::Failed;
    }
    if (!hasDefaultApplication(mimeTypeOf(path))) {
        return OpenOutcome::NoAssociation;
    }
    return spawnDetached("xdg-open", absolute(path)) ? OpenOutcome::Opened
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
    return spawnDetached("xdg-open", absolute(path)) ? OpenOutcome::Opened
                                                     : OpenOutcome::OpenerMissing;
}

QString QtShell::fileUri(const std::string& path) {
    const QByteArray encoded = bytesOf(absolute(path)).toPercentEncoding("/");
    return QStringLiteral("file://") + QString::fromLatin1(encoded);
}

QString QtShell::mimeTypeOf(const std::string& path) {
    QMimeDatabase db;
    const std::string::size_type slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const QString displayName = QString::fromUtf8(bytesOf(name));
    // Only a regular file is opened to look at its first bytes: opening a device (a listed
    // link may lead to one) can act on it. Anything else is known by its name alone. The
    // file is read through its exact bytes: a name that is not UTF-8 would not survive the
    // way through a QString.
    QByteArray head;
    struct stat seen {};
    if (::stat(path.c_str(), &seen) == 0 && S_ISREG(seen.st_mode)) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == seen.st_dev &&
            st.st_ino == seen.st_ino && S_ISREG(st.st_mode)) {
            head.resize(4096);
            const ssize_t n = ::read(fd, head.data(), static_cast<size_t>(head.size()));
            head.resize(n > 0 ? static_cast<qsizetype>(n) : 0);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return db.mimeTypeForFileNameAndData(displayName, head).name();
}

bool QtShell::hasDefaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(3000)) {
        return true;
    }
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

bool QtShell::spawnDetached(const char* program, const std::string& argument) {
    std::string arg0(program);
    std::string arg1(argument);
    char* argv[] = {arg0.data(), arg1.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    // The opener may outlive the call; it is reaped when it ends, without holding up
    // the window.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace scourix
