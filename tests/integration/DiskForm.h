#pragma once

#include <memory>
#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix::test {

// The procedures over the real file system with fakes for the window; the program folder
// is the given one.
struct DiskForm {
    explicit DiskForm(const std::string& programFolder,
                      std::shared_ptr<PackageDatabase> packages = {})
        : fs(programFolder, std::move(packages)) {}

    // Scans one location for one pattern and answers No to the summary.
    void scan(const std::string& location, const std::string& pattern) {
        fake.lstDrive.setTexts({location, "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        fake.lstPat.setTexts({pattern});
        fake.lstPat.setChecked(0, true);
        fake.dialogs.answers = {mb::kIdNo};
        form.cmdFind_Click();
    }

    FakePlatform fake;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

}  // namespace scourix::test
