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
    // threads: MainState::scanThreads (0 lets the scan choose, 1 keeps it on one thread).
    explicit HeadlessScan(const std::string& root, unsigned threads = 0) {
        fake.lstDrive.append(root);
        fake.lstDrive.setChecked(0, true);
        fake.lstDrive.append("临时文件夹");
        fake.lstPat.setAllChecked(true);
        form.state().scanThreads = threads;
        // The walk's passes of the event loop; after the walk the byte total and the
        // existence check run without any, on either side of the summary box.
        fake.window.onDoEvents = [this] { gaps.pass(); };
        // How long the window stood still between the walk's end and the summary's call.
        fake.dialogs.whileOpen = [this] {
            if (fake.dialogs.boxes.back().title == "查找完成") {
                toSummaryMs = gaps.sinceLastPassMs();
            }
        };
    }

    // One scan, answering No to the summary (no report); returns the results' count.
    std::size_t run() {
        fake.dialogs.answers = {mb::kIdNo};
        fake.dialogs.boxes.clear();
        gaps.start();
        form.cmdFind_Click();
        gaps.stop();
        return fake.lstFound.count();
    }

    FakePlatform fake;
    EventGaps gaps;
    double toSummaryMs = 0;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

}  // namespace scourix::bench
