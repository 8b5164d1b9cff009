// Saves pictures of the real windows for a person to look at: the main window after
// start-up, after a scan of a small sample tree, and the information window showing the
// scan report. Usage: scourix_screens OUTPUT_FOLDER (run under Xvfb by scripts/screenshot.sh)
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>

#include "app/MainForm.h"
#include "gui/AppIcon.h"
#include "gui/MainWindow.h"
#include "platform/CheckList.h"
#include "platform/Dialogs.h"

namespace {

using scourix::mb::kIdNo;
using scourix::mb::kIdOk;
using scourix::mb::kIdYes;

// Answers the program's questions from a script: no person is there to click.
class ScriptedDialogs : public scourix::Dialogs {
public:
    std::deque<int> answers;
    int messageBox(const std::string&, int, const std::string&) override {
        if (answers.empty()) {
            return kIdOk;
        }
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

void touch(const QString& path, int bytes) {
    std::ofstream(path.toStdString()) << std::string(static_cast<std::size_t>(bytes), 'x');
}

// A small tree with a few junk files among ordinary ones.
QString makeSampleTree(const QString& base) {
    const QString root = base + QStringLiteral("/示例文件夹");
    QDir().mkpath(root + QStringLiteral("/文档/旧版本"));
    QDir().mkpath(root + QStringLiteral("/下载"));
    touch(root + QStringLiteral("/报告.doc"), 4000);
    touch(root + QStringLiteral("/~$报告.doc"), 162);
    touch(root + QStringLiteral("/setup.log"), 100);
    touch(root + QStringLiteral("/文档/预算.xls"), 9000);
    touch(root + QStringLiteral("/文档/预算.bak"), 8800);
    touch(root + QStringLiteral("/文档/旧版本/说明.old"), 1234);
    touch(root + QStringLiteral("/文档/旧版本/Backup of 说明.wbk"), 2048);
    touch(root + QStringLiteral("/下载/installer.tmp"), 56789);
    touch(root + QStringLiteral("/下载/page.~htm"), 310);
    return root;
}

void save(QWidget* w, const QString& file) {
    if (!w->grab().save(file)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString work = out + QStringLiteral("/work");
    QDir().mkpath(work + QStringLiteral("/tmp"));
    QDir().mkpath(work + QStringLiteral("/program"));
    qputenv("TMPDIR", (work + QStringLiteral("/tmp")).toLocal8Bit());
    const QString tree = makeSampleTree(work);

    QApplication app(argc, argv);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/TypeRead.ini"),
                work + QStringLiteral("/program/TypeRead.ini"));
    QApplication::setWindowIcon(scourix::AppIcon::icon());
    ScriptedDialogs dialogs;
    scourix::MainWindowOptions options;
    options.programFolder = (work + QStringLiteral("/program")).toStdString();
    options.dialogs = &dialogs;
    scourix::MainWindow window(options);
    window.form().Form_Load();
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/1-start.png"));

    // A scan of the sample tree, answering No to the summary.
    scourix::MainState& state = window.form().state();
    scourix::CheckList& drives = state.ui.lstDrive;
    drives.setAllChecked(false);
    drives.insert(0, tree.toStdString());
    drives.setChecked(0, true);
    drives.setChecked(drives.count() - 1, true);  // the (empty) temporary folder
    dialogs.answers = {kIdNo};
    window.form().cmdFind_Click();
    state.ui.lstFound.setChecked(1, true);
    state.ui.lstFound.setChecked(3, true);
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/2-after-scan.png"));

    // The scan report in the information window, pictured while it is shown.
    QTimer::singleShot(300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("frmErr") && w->isVisible()) {
                save(w, out + QStringLiteral("/3-report.png"));
                w->close();
            }
        }
    });
    window.form().ViewInfo(state.sTempPath + "查找结果信息");
    QDir(work).removeRecursively();
    return 0;
}
