#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace scourix {

class CheckListView;
class Clock;
class Dialogs;
class FileSystem;
class MainForm;
class QtCheckList;
class QtControls;
class QtWindowSystem;
class Shell;

struct MainWindowOptions {
    // Where TypeList.ini and TypeRead.ini live; empty for the executable's folder.
    std::string programFolder;
    // Replace the message and input boxes (not owned); null for the real ones.
    Dialogs* dialogs = nullptr;
    // Replaces the desktop's services (not owned); null for the real ones.
    Shell* shell = nullptr;
    // What ending the program at once does; empty for leaving the process there and then.
    std::function<void()> endNow;
};

// frmMain: the menu bar and every control of the design table at its place, wired to the
// procedures of MainForm. It owns the window-system objects, the file system, the clock
// and the procedures themselves.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowOptions options = {});
    ~MainWindow() override;

    MainForm& form() { return *form_; }
    // Start-up: Form_Load, run as every procedure is.
    void load();
    QtWindowSystem& windowSystem() { return *window_; }
    QWidget* clientArea() const { return client_; }
    CheckListView* listView(std::string_view name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void wireProcedures();
    // Runs a procedure of the core; false when it failed. Nothing it throws ends the program:
    // memory running out during a command, say, ends that command with a box saying so.
    bool run(const std::function<void()>& procedure);
    void resized();

    MainWindowOptions options_;
    QWidget* client_ = nullptr;

    std::unique_ptr<QtCheckList> lstDrive_;
    std::unique_ptr<QtCheckList> lstPat_;
    std::unique_ptr<QtCheckList> lstFound_;
    std::unique_ptr<QtControls> controls_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<QtWindowSystem> window_;
    std::unique_ptr<Shell> ownShell_;
    std::unique_ptr<FileSystem> fs_;
    std::unique_ptr<Clock> clock_;
    // Last, so that the procedures go before anything they use.
    std::unique_ptr<MainForm> form_;
};

}  // namespace scourix
