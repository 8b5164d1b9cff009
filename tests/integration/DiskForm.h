#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/TempFolder.h"

namespace scourix::test {

using Texts = std::vector<std::string>;

// The procedures over the real file system with fakes for the window; the program folder
// is the given one.
struct DiskForm {
    explicit DiskForm(const std::string& programFolder,
                      std::shared_ptr<PackageDatabase> packages = {})
        : fs(programFolder, std::move(packages)) {}

    // Scans the first `ticked` locations for the patterns, answering No to the summary after
    // any answers the test has set; returns the list.
    Texts scan(const Texts& locations, const Texts& patterns = {"*.tmp"}, std::size_t ticked = -1) {
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

// The exit code of body run in a child process (true: 0, false: 1); body exits with 77
// where the machine lacks what it needs.
inline int inChild(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace scourix::test
