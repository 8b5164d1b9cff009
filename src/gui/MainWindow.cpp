#include "gui/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <new>
#include <system_error>
#include <unordered_map>

#include "app/MainForm.h"
#include "app/WindowDesign.h"
#include "gui/AppIcon.h"
#include "gui/CjkFont.h"
#include "gui/InfoWindowDialog.h"
#include "platform/Dialogs.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"
#include "platform/qt/CheckListView.h"
#include "platform/qt/QtCheckList.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/Twips.h"
#include "types/BuiltInTypes.h"

namespace scourix {

namespace {

using Procedure = void (MainForm::*)();
using MouseProcedure = void (MainForm::*)(int button, int shift);

// The procedures that run when the user clicks a button or check box or chooses a menu
// item. Controls not listed here have no procedure yet.
const std::unordered_map<std::string_view, Procedure>& clickProcedures() {
    static const std::unordered_map<std::string_view, Procedure> procedures{
        {"cmdClose", &MainForm::cmdClose_Click},
        {"mClose", &MainForm::mClose_Click},
        {"cmdAddPath", &MainForm::cmdAddPath_Click},
        {"mAddPath", &MainForm::mAddPath_Click},
        {"mDSelAll", &MainForm::mDSelAll_Click},
        {"mDUSelAll", &MainForm::mDUSelAll_Click},
        {"mDChSell", &MainForm::mDChSell_Click},
        {"cmdFind", &MainForm::cmdFind_Click},
        {"mFind", &MainForm::mFind_Click},
        {"cmdStopFind", &MainForm::cmdStopFind_Click},
        {"mStopFind", &MainForm::mStopFind_Click},
        {"chkSelAll", &MainForm::chkSelAll_Click},
        {"mSaveList", &MainForm::mSaveList_Click},
        {"mHomePage", &MainForm::mHomePage_Click},
        {"mAbout", &MainForm::mAbout_Click},
        {"mSelAll", &MainForm::mSelAll_Click},
        {"mSelAllUn", &MainForm::mSelAllUn_Click},
        {"mLChSel", &MainForm::mLChSel_Click},
        {"mClear", &MainForm::mClear_Click},
        {"cmdOpen", &MainForm::cmdOpen_Click},
        {"mOpen", &MainForm::mOpen_Click},
        {"cmdFileAttrib", &MainForm::cmdFileAttrib_Click},
        {"mAttrib", &MainForm::mAttrib_Click},
        {"cmdKill", &MainForm::cmdKill_Click},
        {"mKill", &MainForm::mKill_Click},
        {"cmdDeltmp", &MainForm::cmdDeltmp_Click},
        {"mRename", &MainForm::mRename_Click},
        {"cmdAdd", &MainForm::cmdAdd_Click},
        {"mAddType", &MainForm::mAddType_Click},
        {"cmdRemove", &MainForm::cmdRemove_Click},
        {"mDelType", &MainForm::mDelType_Click},
        {"mResetType", &MainForm::mResetType_Click},
        {"mTSelAll", &MainForm::mTSelAll_Click},
        {"mTUSelAll", &MainForm::mTUSelAll_Click},
        {"mTChSel", &MainForm::mTChSel_Click},
        {"mReportType", &MainForm::mReportType_Click},
        {"mAddLinuxTypes", &MainForm::mAddLinuxTypes_Click},
        {"cmdFindFile", &MainForm::cmdFindFile_Click},
        {"mFindFile", &MainForm::mFindFile_Click},
        {"cmdListTempFile", &MainForm::cmdListTempFile_Click},
        {"mListtempfiles", &MainForm::mListtempfiles_Click},
    };
    return procedures;
}

// The events of the three lists.
struct ListProcedures {
    Procedure click = nullptr;
    MouseProcedure mouseDown = nullptr;
    MouseProcedure mouseUp = nullptr;
    Procedure doubleClick = nullptr;
};

const std::unordered_map<std::string_view, ListProcedures>& listProcedures() {
    static const std::unordered_map<std::string_view, ListProcedures> procedures{
        {"lstDrive", {nullptr, nullptr, &MainForm::lstDrive_MouseUp, nullptr}},
        {"lstPat", {&MainForm::lstPat_Click, nullptr, &MainForm::lstPat_MouseUp, nullptr}},
        {"lstFound",
         {&MainForm::lstFound_Click, &MainForm::lstFound_MouseDown, &MainForm::lstFound_MouseUp,
          &MainForm::lstFound_DblClick}},
    };
    return procedures;
}

QString toQt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QColor kCreamColor(kCream.red, kCream.green, kCream.blue);

// What made the exception in flight, for the user.
std::string whatFailed() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "内存不足";
    } catch (const std::system_error& e) {
        const std::error_category& from = e.code().category();
        return from == std::generic_category() || from == std::system_category()
                   ? systemError(e.code().value()).description
                   : e.what();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "未知错误";
    }
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options) : options_(std::move(options)) {
    setObjectName(toQt(kWindowName));
    setWindowTitle(toQt(kWindowCaption));
    setWindowIcon(AppIcon::icon());
    setFont(CjkFont::font(9));

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    QPalette cream = client_->palette();
    cream.setColor(QPalette::Window, kCreamColor);
    client_->setPalette(cream);
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    buildMenus();
    buildControls();

    lstDrive_ = std::make_unique<QtCheckList>(*listView("lstDrive"));
    lstPat_ = std::make_unique<QtCheckList>(*listView("lstPat"));
    lstFound_ = std::make_unique<QtCheckList>(*listView("lstFound"));
    controls_ = std::make_unique<QtControls>(*this, *client_);
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
    }
    window_ = std::make_unique<QtWindowSystem>(
        *this, [this] { return std::make_unique<InfoWindowDialog>(this); }, options_.endNow);
    if (!options_.shell) {
        ownShell_ = std::make_unique<QtShell>();
    }
    fs_ = std::make_unique<PosixFileSystem>(options_.programFolder);
    clock_ = std::make_unique<PosixClock>();

    // The built-in patterns are in the list from the start, unticked.
    std::vector<std::string> patterns;
    for (std::string_view p : builtInTypes()) {
        patterns.emplace_back(p);
    }
    lstPat_->appendMany(std::move(patterns));

    form_ = std::make_unique<MainForm>(
        Platform{*lstDrive_, *lstPat_, *lstFound_, *controls_,
                 options_.dialogs ? *options_.dialogs : *ownDialogs_, *window_, *fs_,
                 options_.shell ? *options_.shell : *ownShell_, *clock_});

    wireProcedures();

    const double dx = Twips::dpiX(this);
    const double dy = Twips::dpiY(this);
    resize(Twips::toPixels(kDesignClientWidth, dx),
           Twips::toPixels(kDesignClientHeight, dy) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    // The procedures go first, while everything they reach still exists.
    form_.reset();
}

CheckListView* MainWindow::listView(std::string_view name) const {
    return client_->findChild<CheckListView*>(toQt(name), Qt::FindDirectChildrenOnly);
}

void MainWindow::buildMenus() {
    for (const MenuDesign& menuDesign : menuDesigns()) {
        QMenu* menu = menuBar()->addMenu(toQt(menuDesign.caption));
        menu->setObjectName(toQt(menuDesign.name));
        for (const MenuItemDesign& item : menuDesign.items) {
            QAction* action =
                item.isSeparator() ? menu->addSeparator() : menu->addAction(toQt(item.caption));
            action->setObjectName(toQt(item.name));
        }
    }
}

void MainWindow::buildControls() {
    const double dx = Twips::dpiX(this);
    const double dy = Twips::dpiY(this);
    auto px = [&](int twips, double dpi) { return Twips::toPixels(twips, dpi); };

    for (const ControlDesign& d : controlDesigns()) {
        const Rect& r = d.geometry;
        const QString caption = toQt(d.caption);
        QWidget* w = nullptr;
        switch (d.kind) {
            case ControlKind::Button: {
                auto* b = new QPushButton(caption, client_);
                if (d.cream) {
                    QPalette p = b->palette();
                    p.setColor(QPalette::Button, kCreamColor);
                    b->setPalette(p);
                }
                w = b;
                break;
            }
            case ControlKind::CheckBox: {
                auto* c = new QCheckBox(caption, client_);
                c->setChecked(d.value != 0);
                w = c;
                break;
            }
            case ControlKind::CheckList:
                w = new CheckListView(client_);
                break;
            case ControlKind::Label: {
                auto* l = new QLabel(caption, client_);
                l->setTextFormat(Qt::PlainText);
                l->setWordWrap(false);
                w = l;
                break;
            }
            case ControlKind::Picture: {
                auto* l = new QLabel(client_);
                const int side = std::min(px(r.width, dx), px(r.height, dy));
                l->setPixmap(AppIcon::pixmap(side >= 32 ? 32 : 24));
                l->setAlignment(Qt::AlignCenter);
                w = l;
                break;
            }
            case ControlKind::Line: {
                // A rule from (left, top) to (width, height), drawn etched.
                auto* f = new QFrame(client_);
                f->setFrameShape(QFrame::HLine);
                f->setFrameShadow(QFrame::Sunken);
                w = f;
                break;
            }
        }
        w->setObjectName(toQt(d.name));
        if (!d.toolTip.empty()) {
            w->setToolTip(toQt(d.toolTip));
        }
        if (d.kind == ControlKind::Line) {
            const int y = px(r.top, dy);
            w->setGeometry(px(r.left, dx), y - 1, px(r.width - r.left, dx), 2);
        } else {
            w->setGeometry(px(r.left, dx), px(r.top, dy), px(r.width, dx), px(r.height, dy));
        }
    }

    // The heading repeats the caption in a larger type and sizes itself to it.
    auto* heading = client_->findChild<QLabel*>(QStringLiteral("Label4"));
    QFont big = CjkFont::font(15);
    big.setBold(true);
    heading->setFont(big);
    heading->setProperty(QtControls::kAutoSizeProperty, true);
    heading->adjustSize();

    // The thin bar under the heading.
    auto* bar = client_->findChild<QLabel*>(QStringLiteral("Label3"));
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Button);

    // Found paths keep their beginning and their file name in view. A scan appends a few
    // entries a folder; the list takes them in now and then, not at every folder.
    listView("lstFound")->setTextElideMode(Qt::ElideMiddle);
    listView("lstFound")->checkModel().setDeferredAppends(true);

    auto* status = client_->findChild<QLabel*>(QStringLiteral("lblInfo"));
    status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void MainWindow::load() {
    run([this] { form_->Form_Load(); });
}

bool MainWindow::run(const std::function<void()>& procedure) {
    std::string failed;
    try {
        procedure();
        return true;
    } catch (...) {
        failed = whatFailed();
    }
    try {
        form_->state().ui.dialogs.messageBox("操作没有完成：" + failed + "。", mb::kCritical,
                                             std::string(kWindowCaption));
    } catch (...) {
        // Not even the box could be shown: the program goes on all the same.
    }
    return false;
}

void MainWindow::wireProcedures() {
    for (const auto& [name, procedure] : clickProcedures()) {
        QObject* o = findChild<QObject*>(toQt(name));
        auto run = [this, proc = procedure] { this->run([&] { (form_.get()->*proc)(); }); };
        if (auto* button = qobject_cast<QAbstractButton*>(o)) {
            // clicked comes only from the user, never from a value set in code.
            connect(button, &QAbstractButton::clicked, this, run);
        } else if (auto* action = qobject_cast<QAction*>(o)) {
            connect(action, &QAction::triggered, this, run);
        }
    }
    for (const auto& [name, procs] : listProcedures()) {
        CheckListView* view = listView(name);
        if (!view) {
            continue;
        }
        if (procs.click) {
            connect(view, &CheckListView::listClick, this,
                    [this, p = procs.click] { run([&] { (form_.get()->*p)(); }); });
        }
        if (procs.doubleClick) {
            connect(view, &CheckListView::doubleClick, this,
                    [this, p = procs.doubleClick] { run([&] { (form_.get()->*p)(); }); });
        }
        if (procs.mouseDown) {
            connect(view, &CheckListView::mouseDown, this,
                    [this, p = procs.mouseDown](int b, int s) {
                        run([&] { (form_.get()->*p)(b, s); });
                    });
        }
        if (procs.mouseUp) {
            connect(view, &CheckListView::mouseUp, this, [this, p = procs.mouseUp](int b, int s) {
                run([&] { (form_.get()->*p)(b, s); });
            });
        }
    }
}

void MainWindow::resized() {
    if (form_) {
        run([this] { form_->Form_Resize(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Form_Unload answers Cancel: the window stays open when it says so, or when it failed.
    bool cancel = false;
    if (form_ && (!run([&] { cancel = form_->Form_Unload(); }) || cancel)) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        resized();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    resized();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        resized();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused button, else the default button cmdFind; Escape presses
    // the cancel button cmdStopFind. A disabled button ignores the press.
    const int key = event->key();
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        auto* target = qobject_cast<QPushButton*>(focusWidget());
        if (!target || !client_->isAncestorOf(target)) {
            target = client_->findChild<QPushButton*>(QStringLiteral("cmdFind"));
        }
        if (target) {
            target->click();
        }
        return;
    }
    if (key == Qt::Key_Escape) {
        if (auto* stop = client_->findChild<QPushButton*>(QStringLiteral("cmdStopFind"))) {
            stop->click();
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace scourix
