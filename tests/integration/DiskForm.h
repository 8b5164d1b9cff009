#pragma once

#include <memory>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {

// The procedures over the real file system, with fakes for the window.
struct DiskForm {
    explicit DiskForm(const std::string& programFolder,
                      std::shared_ptr<PackageDatabase> packages = {},
                      std::shared_ptr<const LinkTrust> trust = {})
        : fs(programFolder, std::move(packages), std::move(trust)) {}

    // Scans the first `ticked` locations for the patterns, answering No to the summary after
    // any answers the test has set; returns the list.
    std::vector<std::string> scan(const std::vector<std::string>& locations,
                                  const std::vector<std::string>& patterns = {"*.tmp"},
                                  std::size_t ticked = -1) {
        fake.lstDrive.setTexts(locations);
        fake.lstDrive.append("临时文件夹");
        for (std::size_t i = 0; i < locations.size() && i < ticked; ++i) {
            fake.lstDrive.setChecked(i, true);
        }
        fake.lstPat.setTexts(patterns);
        fake.lstPat.setAllChecked(true);
        fake.dialogs.answers.push_back(mb::kIdNo);
        form.cmdFind_Click();
        return fake.lstFound.texts();
    }
    // After a scan: the files and bytes walked, before the list is checked.
    std::string summary() const { return fake.controls.caption("lblInfo"); }

    FakePlatform fake;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

}  // namespace scourix
