#pragma once

#include <string>

#include "fakes/FakeCheckList.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/FaultyFileSystem.h"
#include "platform/Platform.h"
#include "types/BuiltInTypes.h"

namespace scourix {

// One fake of everything the procedures reach, in the state of a freshly created window:
// lstPat holds the built-in patterns unticked, the other lists are empty, the controls
// have their design states.
class FakePlatform {
public:
    FakePlatform() {
        lstPat.setTexts({builtInTypes().begin(), builtInTypes().end()});
        for (const std::string& folder : {fs.program, fs.temp, fs.current}) {
            fs.addFolder(folder);
        }
    }

    FakeCheckList lstDrive;
    FakeCheckList lstPat;
    FakeCheckList lstFound;
    FakeControls controls;
    FakeDialogs dialogs;
    FakeWindowSystem window;
    FaultyFileSystem fs;
    FakeShell shell;
    FakeClock clock;

    Platform platform() {
        return Platform{lstDrive, lstPat, lstFound, controls, dialogs, window, fs, shell, clock};
    }
};

}  // namespace scourix
