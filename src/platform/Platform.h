#pragma once

#include "platform/CheckList.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace scourix {

// Everything the procedures reach outside themselves: the main window's three lists, its
// controls, the dialogs, the window system, the file system, the shell and the clock.
struct Platform {
    CheckList& lstDrive;
    CheckList& lstPat;
    CheckList& lstFound;
    Controls& controls;
    Dialogs& dialogs;
    WindowSystem& window;
    FileSystem& fs;
    Shell& shell;
    Clock& clock;
};

}  // namespace scourix
