#include "fakes/FakePlatform.h"

#include <string>

#include "types/BuiltInTypes.h"

namespace scourix {

FakePlatform::FakePlatform() {
    for (std::string_view pattern : builtInTypes()) {
        lstPat.append(std::string(pattern));
    }
    fs.addFolder(fs.program);
    fs.addFolder(fs.temp);
    fs.addFolder(fs.current);
}

Platform FakePlatform::platform() {
    return Platform{lstDrive, lstPat, lstFound, controls, dialogs, window, fs, shell, clock};
}

}  // namespace scourix
