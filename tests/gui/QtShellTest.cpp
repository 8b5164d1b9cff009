#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <QDBusConnection>
#include <filesystem>

#include "GuiTestSupport.h"
#include "platform/qt/DesktopEntry.h"
#include "platform/qt/QtShell.h"

namespace scourix {

// Stand-ins for xdg-open, an editor and xdg-mime, first on PATH, and data folders of the
// test's own: the programs write the bytes of their arguments to a file, the MIME query
// answers from a file.
class QtShellTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    const std::string oldPath = std::getenv("PATH"), opened = dir / "bin/xdg-open.out";
    const std::string recorder =
        "#!/bin/sh\nprintf '%s|' \"$@\" >\"$0.t\"; mv \"$0.t\" \"$0.out\"\n";

    void SetUp() override {
        dir.folder("bin");
        dir.file("bin/xdg-open", recorder, 0700);
        dir.file("bin/ed itor", recorder, 0700);
        dir.file("bin/xdg-mime", "#!/bin/sh\ncat '" + dir / "default-app" + "'\n", 0700);
        dir.file("default-app", "editor.desktop\n");
        ::setenv("PATH", (dir / "bin:" + oldPath).c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir / "home").c_str(), 1);
        // The system's folders too, where the MIME types are described.
        ::setenv("XDG_DATA_DIRS", (dir / "share:/usr/local/share:/usr/share").c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", oldPath.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_DATA_DIRS");
    }

    // What the opener (or another stand-in) was given, once it has run; "" when it did not
    // run within a while.
    std::string openerGot(int ms = 5000, const std::string& out = "") {
        const std::string& file = out.empty() ? opened : out;
        const bool ran = test::waitFor([&] { return test::exists(file); }, ms);
        const std::string got = ran ? test::contentOf(file) : "";
        ::unlink(file.c_str());
        return got;
    }
};

TEST_F(QtShellTest, TheOpenerGetsTheAbsolutePathAsOneArgumentWithItsExactBytesOrNothing) {
    const std::string path = dir.file("a b 'c' \"d\" $(touch x) \xb2\xe2\xca\xd4.txt", "text\n");
    EXPECT_EQ(QtShell().openDocument(path, {}), OpenOutcome::Opened);
    EXPECT_EQ(openerGot(), path + "|");
    EXPECT_FALSE(test::exists(dir / "x")) << "nothing went through a shell";
    // A listed link may lead to a device or a FIFO, which opening could act on (a watchdog
    // restarts the machine when opened and closed): the type comes from the name and the first
    // bytes it is given, and nothing is opened to look.
    const std::string pipe = dir.fifo("pipe");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, pipe.c_str(), IN_OPEN), 0);
    EXPECT_EQ(QtShell().openDocument(dir.link("report.txt", pipe), {}), OpenOutcome::Opened);
    EXPECT_EQ(openerGot(), dir / "report.txt|");
    char event[256];
    EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
    ::close(watch);
    EXPECT_EQ(QtShell::mimeTypeOf("/x/noname", "%PDF-1.4\n"), QStringLiteral("application/pdf"));
    EXPECT_EQ(QtShell::fileUri("/tmp/a b/%\xff\xe4\xb8\xad.tmp"),
              QStringLiteral("file:///tmp/a%20b/%25%FF%E4%B8%AD.tmp"));
    // A relative name beginning with a dash is a path, not an option.
    dir.file("-list.txt", "text\n");
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    QtShell().openTextFile("-list.txt");
    std::filesystem::current_path(before);
    EXPECT_EQ(openerGot(), dir / "-list.txt|");
    dir.file("default-app", "");
    EXPECT_EQ(QtShell().openDocument(dir.file("report.zzq", "text\n"), {}),
              OpenOutcome::NoAssociation);
    EXPECT_EQ(QtShell().openDocument(dir / "gone.tmp", {}), OpenOutcome::Failed);
    EXPECT_EQ(QtShell().openDocument("", {}), OpenOutcome::Failed);
    EXPECT_EQ(openerGot(300), "");
    // An opener that cannot be started is told apart from one that fails on the file.
    ::setenv("PATH", (dir / "none").c_str(), 1);
    EXPECT_EQ(QtShell().openDocument(path, {}), OpenOutcome::OpenerMissing);
    EXPECT_EQ(QtShell().openTextFile(path), OpenOutcome::OpenerMissing);
}

// The desktop's file manager on the tests' session bus: what it was asked to show.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList asked;
public slots:
    void ShowItemProperties(const QStringList& uris, const QString& startupId) {
        asked << uris.join('|') + "|" + startupId;
    }
};

// The sheet is the file manager's, asked for with the file's URI; without one on the bus
// the command is refused.
TEST_F(QtShellTest, ThePropertiesSheetIsAskedOfTheFileManagerOnTheSessionBus) {
    const std::string path = dir.file("a b\xff.tmp", "x");
    EXPECT_FALSE(QtShell().showProperties(path));
    FileManager manager;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fm");
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager,
                                   QDBusConnection::ExportAllSlots) &&
                bus.registerService("org.freedesktop.FileManager1"));
    EXPECT_TRUE(QtShell().showProperties(path));
    EXPECT_TRUE(test::waitFor([&] { return !manager.asked.empty(); }));
    EXPECT_EQ(manager.asked,
              QStringList(QString::fromStdString("file://" + dir / "a%20b%FF.tmp|")));
    QDBusConnection::disconnectFromBus("fm");
}

// The saved list goes to the desktop's text editor whatever its name, started from its
// desktop entry as the entry says; without an editor only a text name goes to the opener.
TEST_F(QtShellTest, TheSavedListOpensInTheDefaultTextEditorByItsDesktopEntry) {
    dir.file("default-app", "vendor-editor.desktop;other.desktop\n");
    dir.folder(
        (dir.folder((dir.folder("share"), "share/applications")), "share/applications/vendor"));
    dir.file("share/applications/vendor/editor.desktop",
             "[Desktop Entry]\nName=Ed\nIcon=ed\nExec=\"" + dir / "bin/ed itor" +
                 "\" --title=%c %i %F %d\n[Desktop Action new]\nExec=xdg-open %f\n");
    QtShell().openTextFile(dir / "x.html");
    EXPECT_EQ(openerGot(5000, dir / "bin/ed itor.out"), "--title=Ed|--icon|ed|" + dir / "x.html|");
    EXPECT_EQ(openerGot(300), "") << "not the opener, which would pick a web browser";
    // An entry that others may change is no command to run.
    ::chmod((dir / "share/applications/vendor/editor.desktop").c_str(), 0666);
    QtShell().openTextFile(dir / "x.html");
    EXPECT_EQ(openerGot(300, dir / "bin/ed itor.out") + openerGot(10), "");
    dir.file("default-app", "");
    QtShell().openTextFile(dir / "x.html");
    EXPECT_EQ(openerGot(300), "");

    // Quotes, escapes of both levels, "%%", a URI, the file added where no code names it,
    // and a terminal.
    const std::string entry = "/e.desktop";
    EXPECT_EQ(DesktopEntry::commandFor("[Desktop Entry]\nExec=\"/a b/q\\\\\"t\" 100%% %u\n", entry,
                                       "/t/a b.txt"),
              (std::vector<std::string>{"/a b/q\"t", "100%", "file:///t/a%20b.txt"}));
    EXPECT_EQ(DesktopEntry::commandFor("[Desktop Entry]\nTerminal=true\nExec=vi\\s-R %k\n", entry,
                                       "/t/a"),
              (std::vector<std::string>{"x-terminal-emulator", "-e", "vi", "-R", entry, "/t/a"}));
    EXPECT_TRUE(DesktopEntry::commandFor("[Desktop Entry]\nExec=\"vi\n", entry, "/t/a").empty());
    EXPECT_TRUE(DesktopEntry::commandFor("[Other]\nExec=vi\n", entry, "/t/a").empty());
}

}  // namespace scourix

#include "QtShellTest.moc"
