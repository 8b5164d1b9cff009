#pragma once

#include <string>

#include "EventGaps.h"
#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix::bench {

// The scan of one location with the 43 built-in patterns, all ticked, through the core
// with a headless window layer and the real file system. Records the gaps between passes of
// the event loop.
struct HeadlessScan {
    // A modal box runs the event loop while it is shown.
    struct Dialogs : FakeDialogs {
        EventGaps* gaps = nullptr;
        int messageBox(const std::string& text, int flags, const std::string& title) override {
            gaps->pass();
            return FakeDialogs::messageBox(text, flags, title);
        }
    };

    // threads: MainState::scanThreads (0 lets the scan choose, 1 keeps it on one thread).
    explicit HeadlessScan(const std::string& root, unsigned threads = 0) {
        fake.lstDrive.append(root);
        fake.lstDrive.setChecked(0, true);
        fake.lstDrive.append("临时文件夹");
        fake.lstPat.setAllChecked(true);
        form.state().scanThreads = threads;
        fake.window.onDoEvents = [this] { gaps.pass(); };
        dialogs.gaps = &gaps;
    }

    // One scan, answering No to the summary (no report); returns the results' count.
    std::size_t run() {
        dialogs.answers = {mb::kIdNo};
        dialogs.boxes.clear();
        gaps.start();
        form.cmdFind_Click();
        gaps.stop();
        return fake.lstFound.count();
    }

    FakePlatform fake;
    Dialogs dialogs;
    EventGaps gaps;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

}  // namespace scourix::bench
