#include "app/Startup.h"

#include <string>

#include "app/WindowDesign.h"
#include "platform/Dialogs.h"
#include "scan/Locations.h"
#include "types/TypeListStore.h"

namespace scourix {

void Startup::Form_Load() {
    Controls& controls = s_.ui.controls;
    // The window layer puts the icon into Image1 when it builds the window.
    controls.setCaption("Label4", controls.caption(kWindowName));
    s_.bStop = true;
    SetEn(false);

    try {
        // On screen and painted before the volumes are probed, which may take a while.
        s_.ui.window.showMainWindow();
        s_.ui.window.doEvents();

        // From here on nothing reports a failure: an unreadable volume stays unticked, an
        // unreadable TypeList.ini leaves the pattern list as far as it was read.
        locations_.fill();
        SetEn(true);
        for (std::string_view name : disabledAfterStartUp()) {
            controls.setEnabled(name, false);
        }
        types_.initialise();
    } catch (...) {
        // Memory running out (say): the window can still be closed, and the pattern list,
        // perhaps not read yet, replaces no file then. The caller says what failed.
        types_.keepFile();
        s_.startUpDone = true;
        throw;
    }
    s_.startUpDone = true;
}

void Startup::SetEn(bool en) {
    for (std::string_view name : setEnOrder()) {
        s_.ui.controls.setEnabled(name, en);
    }
}

bool Startup::Form_Unload() {
    if (!s_.startUpDone) {
        return true;
    }
    // After Stop the walk still has to unwind: the window must outlive it.
    if (s_.scanActive || !s_.bStop) {
        s_.ui.dialogs.messageBox(
            std::string("现在正在查找文件，无法关闭程序。") + kCrLf + kCrLf + "必须先停止查找。",
            mb::kOk | mb::kCritical, "错误");
        return true;
    }
    if (Status saved = types_.SaveTypeList(); !saved.ok()) {
        reportCloseFailure(saved.error());
        return false;
    }
    for (const auto& [path, written] : s_.reportsWritten) {
        if (Result<bool> removed = s_.ui.fs.removeFileIf(path, *written); !removed.ok()) {
            reportCloseFailure(removed.error());
            return false;
        }
    }
    return false;
}

void Startup::reportCloseFailure(const Error& error) {
    s_.ui.dialogs.messageBox(error.description, mb::kOk | mb::kCritical,
                             s_.ui.controls.caption(kWindowName));
}

}  // namespace scourix
