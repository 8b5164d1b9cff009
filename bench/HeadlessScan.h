#pragma once

#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix::bench {

// The scan of one location with the 43 built-in patterns, all ticked, through the core
// with a headless window layer and the real file system.
struct HeadlessScan {
    explicit HeadlessScan(const std::string& root) {
        fake.lstDrive.append(root);
        fake.lstDrive.setChecked(0, true);
        fake.lstDrive.append("临时文件夹");
        fake.lstPat.setAllChecked(true);
    }

    // One scan, answering No to the summary (no report); returns the results' count.
    std::size_t run() {
        fake.dialogs.answers = {mb::kIdNo};
        form.cmdFind_Click();
        return fake.lstFound.count();
    }

    FakePlatform fake;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

}  // namespace scourix::bench
