#include <gtest/gtest.h>
#include <iconv.h>

#include <QAbstractButton>
#include <QAction>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <regex>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using test::contentOf;
using test::exists;

// Text as it lies on disk: code page 936 (kept as it is in GB18030), by the C library's
// own converter.
std::string gbk(std::string utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char *in = utf8.data(), *to = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    return out.substr(0, out.size() - outLeft);
}

// The program as a user runs it: the real window over real folders, with scripted boxes.
class EndToEndTest : public ::testing::Test {
protected:
    test::TempFolder root;
    const std::string prog = root.folder("prog"), tmp = root.folder("tmp");
    const std::string data = root.folder("data");
    const std::string oldTmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<MainWindow> window;
    QString shown;  // the last information window's text; each one is closed at once
    QTimer infoCloser;

    EndToEndTest() {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        QObject::connect(&infoCloser, &QTimer::timeout, [this] {
            QWidget* up = QApplication::activeModalWidget();
            if (up && up->objectName() == QStringLiteral("frmErr")) {
                shown = up->findChild<QPlainTextEdit*>("Text1")->toPlainText();
                up->close();
            }
        });
        infoCloser.start(5);
    }
    ~EndToEndTest() override {
        oldTmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTmpdir.c_str(), 1);
    }

    void start() {
        window = std::make_unique<MainWindow>(MainWindowOptions{prog, &dialogs, &shell, [] {}});
        window->form().Form_Load();
    }
    // Presses a button or chooses a menu item; its boxes get these answers.
    void press(const char* name, std::deque<int> answers = {}, std::deque<std::string> in = {}) {
        dialogs.answers = std::move(answers);
        dialogs.inputs = std::move(in);
        auto* button = window->findChild<QAbstractButton*>(name);
        button ? button->click() : window->findChild<QAction*>(name)->trigger();
    }
    // Each entry as the user sees it: its tick, "1" or "0", and its text.
    Texts listed(std::string_view name) {
        const CheckListModel& model = window->listView(name)->checkModel();
        Texts all;
        for (std::size_t i = 0; i < model.size(); ++i) {
            all.push_back((model.checked(i) ? "1" : "0") + model.text(i));
        }
        return all;
    }
    void tick(std::string_view name, int row, bool on) {
        QAbstractItemModel* m = window->listView(name)->model();
        m->setData(m->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    // The typed location becomes the only ticked one, with the temporary folder if asked.
    void searchOnly(const std::string& where, bool tempFolderToo) {
        press("cmdAddPath", {}, {where});
        press("mDUSelAll");
        tick("lstDrive", 0, true);
        tick("lstDrive", listed("lstDrive").size() - 1, tempFolderToo);
    }
};

TEST_F(EndToEndTest, PatternEditsAndTicksComeBackAfterARestartFromTheFileAsWritten) {
    start();
    const Texts first = listed("lstPat");
    EXPECT_TRUE(first.size() == 43 &&
                std::all_of(first.begin(), first.end(), [](auto& l) { return l[0] == '1'; }));
    press("cmdAdd", {}, {"*.临时"});
    const Texts added = listed("lstPat");
    tick("lstPat", std::find(added.begin(), added.end(), "0*.临时") - added.begin(), true);
    tick("lstPat", std::find(added.begin(), added.end(), "1*.bak") - added.begin(), false);
    const Texts edited = listed("lstPat");
    window->close();

    std::string lines;
    for (const std::string& line : edited) {
        lines += line + "\r\n";
    }
    const std::string file = contentOf(prog + "/TypeList.ini");
    EXPECT_EQ(file, gbk(lines));
    EXPECT_NE(file.find("\r\n1*.\xC1\xD9\xCA\xB1\r\n"), std::string::npos);  // ticked once added
    EXPECT_NE(file.find("\r\n0*.bak\r\n"), std::string::npos);
    start();
    EXPECT_EQ(listed("lstPat"), edited);
}

TEST_F(EndToEndTest, TemporaryFolderListingReportAndADeletionThatMeetsAReadOnlyFile) {
    root.folder("tmp/sub");
    const std::string a = root.file("tmp/a.tmp", "1"), ro = root.file("tmp/ro.txt", "22");
    const std::string b = root.file("tmp/sub/b.log", "333");
    ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
    start();
    press("cmdListTempFile", {mb::kIdOk, mb::kIdYes});
    ASSERT_EQ(listed("lstFound"), (Texts{"0" + a, "0" + ro, "0" + b}));

    // The report: all but the clock byte for byte, the clock in its format.
    const std::string head = gbk("Scourix 1.51\r\n列表文件保存于");
    const std::string tail = gbk(
        "\r\n-----------------\r\n查找位置\r\n    临时文件夹\r\n\r\n"
        "查找的文件类型：\r\n    *.*\r\n\r\n找到的文件：\r\n    " +
        a + "\r\n    " + ro + "\r\n    " + b + "\r\n----------------------\r\n保存文件结束!\r\n");
    const std::string report = contentOf(tmp + "/查找结果信息");
    const std::string clock = report.substr(head.size(), 19);
    EXPECT_TRUE(std::regex_match(clock, std::regex(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")));
    EXPECT_EQ(report, head + clock + tail);
    EXPECT_TRUE(shown.endsWith(
        QString::fromStdString(b + "\n" + std::string(22, '-') + "\n保存文件结束!\n")));

    // Yes, then No to resetting read-only files: that one stays, ticked, and is reported.
    press("mSelAll");
    press("cmdKill", {mb::kIdYes, mb::kIdNo, mb::kIdYes});
    EXPECT_TRUE(exists(ro) && !exists(a) && !exists(b));
    EXPECT_EQ(listed("lstFound"), Texts{"1" + ro});
    EXPECT_EQ(dialogs.boxes.back().text,
              "选中的文件中有 1 个文件无法删除！\r\n\r\n是否要查看更详细的错误信息?");
    const std::regex failure("删除文件操作：\\(.{19}\\)\n-{37}\n1\x1a " + ro + "\x1a\\[.+\\]\n");
    EXPECT_TRUE(std::regex_match(shown.toStdString(), failure)) << shown.toStdString();

    // Yes this time: reset first, then deleted, and nothing more to say.
    const std::size_t boxes = dialogs.boxes.size();
    press("cmdKill", {mb::kIdYes, mb::kIdYes});
    EXPECT_TRUE(!exists(ro) && listed("lstFound").empty() && dialogs.boxes.size() == boxes + 2);
}

TEST_F(EndToEndTest, ScanSaveTheListRenameToDelThenFindAndDeleteThose) {
    root.folder("data/sub");
    for (const char* name : {"a.tmp", "b.bak", "keep.txt", "sub/c.old"}) {
        root.file(std::string("data/") + name, "12345");
    }
    start();
    searchOnly(data, false);
    press("cmdFind", {mb::kIdNo});
    const std::string a = data + "/a.tmp", b = data + "/b.bak", c = data + "/sub/c.old";
    ASSERT_EQ(listed("lstFound"), (Texts{"0" + b, "0" + a, "0" + c}));

    // A name without an extension gets ".txt"; the same name again is refused.
    const std::string saved = root / "junklist.txt";
    press("mSaveList", {}, {root / "junklist"});
    EXPECT_TRUE(contentOf(saved).starts_with(gbk("Scourix 1.51\r\n列表文件保存于")));
    root.file("junklist.txt", "the user's own");
    press("mSaveList", {}, {root / "junklist"});
    EXPECT_EQ(dialogs.boxes.back().text, "保存文件失败，" + saved + "已经存在！");
    EXPECT_EQ(contentOf(saved), "the user's own");
    EXPECT_EQ(shell.openedTextFiles, Texts{saved});

    press("mSelAll");
    press("cmdDeltmp", {mb::kIdYes, mb::kIdNo});
    EXPECT_TRUE(listed("lstFound").empty() && !exists(a) && !exists(b) && !exists(c));
    EXPECT_EQ(contentOf(a + ".del") + contentOf(b + ".del") + contentOf(c + ".del"),
              "123451234512345");
    press("cmdFindFile", {mb::kIdNo}, {"*.del"});
    ASSERT_EQ(listed("lstFound"), (Texts{"0" + a + ".del", "0" + b + ".del", "0" + c + ".del"}));
    press("mSelAll");
    press("cmdKill", {mb::kIdYes, mb::kIdYes});
    EXPECT_TRUE(listed("lstFound").empty() && exists(data + "/keep.txt"));
    EXPECT_FALSE(exists(a + ".del") || exists(b + ".del") || exists(c + ".del"));
}

TEST_F(EndToEndTest, BlankInAPatternStopHalfWayAndClosingOnlyAfterTheScan) {
    root.file("data/ x.tmp", "x"), root.file("data/x.tmp", "x"), root.file("data/a x.tmp", "x");
    for (int i = 1000; i < 1300; ++i) {
        std::ofstream(root.folder("data/d" + std::to_string(i)) + "/f.tmp") << "x";
    }
    root.file("tmp/错误信息", "left from before");
    start();
    searchOnly(data, true);  // the temporary folder too, so that the report goes there
    press("cmdFindFile", {mb::kIdYes}, {" x.tmp"});
    EXPECT_EQ(listed("lstFound"), Texts{"0" + data + "/ x.tmp"});
    EXPECT_TRUE(exists(tmp + "/查找结果信息"));

    // While the walk lets events in: a close request at 100 files found, Stop at 150.
    const std::size_t boxes = dialogs.boxes.size();
    bool stayedOpen = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (listed("lstFound").size() >= 100 && dialogs.boxes.size() == boxes) {
            window->close();
            stayedOpen = window->isVisible();
        } else if (listed("lstFound").size() >= 150) {
            press("cmdStopFind", {mb::kIdNo});  // the summary's answer
        }
    });
    user.start(0);
    press("cmdFind", {mb::kIdOk});  // the refusal
    user.stop();
    ASSERT_TRUE(stayedOpen && dialogs.boxes.size() == boxes + 2);
    EXPECT_EQ(dialogs.boxes[boxes].text,
              "现在正在查找文件，无法关闭程序。\r\n\r\n必须先停止查找。");
    const std::size_t n = listed("lstFound").size();
    EXPECT_TRUE(n >= 150 && n < 300) << n;
    const std::string summary =
        "找到 " + std::to_string(n) + "个文件，共" + std::to_string(n) + " 字节。";
    EXPECT_TRUE(dialogs.boxes.back().text.starts_with("用户终止!\r\n\r\n" + summary + "\r\n"));
    auto* status = window->findChild<QLabel*>("lblInfo");  // it catches up a moment later
    for (QDeadlineTimer d(2000); status->text().toStdString() != summary && !d.hasExpired();) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(status->text().toStdString(), summary);

    window->close();
    EXPECT_TRUE(!window->isVisible() && dialogs.boxes.size() == boxes + 2);
    EXPECT_TRUE(exists(prog + "/TypeList.ini") && exists(data + "/ x.tmp"));
    // The report this run wrote goes; a file of the other report's name it did not write stays.
    EXPECT_FALSE(exists(tmp + "/查找结果信息"));
    EXPECT_EQ(contentOf(tmp + "/错误信息"), "left from before");
}

}  // namespace
}  // namespace scourix
