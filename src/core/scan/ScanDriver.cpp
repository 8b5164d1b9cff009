#include "scan/ScanDriver.h"
#include "platform/VisibleText.h"

#include <vector>

#include "base/TextFormat.h"
#include "platform/Dialogs.h"
#include "platform/WindowSystem.h"

namespace scourix {
ScanDriver::ScanDriver(MainState& state, Hooks hooks)
    : s_(state), hooks_(std::move(hooks)), walker_(state), checks_(state) {}

bool ScanDriver::anyTicked(const CheckList& list) const {
    for (std::size_t i = 0; i < list.count(); ++i) {
        if (list.checked(i)) {
            return true;
        }
    }
    return false;
}

void ScanDriver::cmdStopFind_Click() {
    s_.bStop = true;
}

void ScanDriver::cmdFind_Click() {
    // The walker's state belongs to one scan: a command reached during an event-loop pass
    // of a running scan starts no second one. Closing is refused from here on, as the
    // pass before the walk could otherwise close the window under the scan.
    if (s_.scanActive) {
        return;
    }
    s_.scanActive = true;
    Platform& ui = s_.ui;
    hooks_.setSelectAll(0);
    if (!anyTicked(ui.lstDrive)) {
        ui.dialogs.messageBox("没有选定查找的位置。", mb::kCritical, "查找");
    } else if (!anyTicked(ui.lstPat)) {
        ui.dialogs.messageBox("没有选定任何一种类型。", mb::kCritical, "查找");
    } else {
        ui.window.setPointer(kPointerHourglass);
        ui.window.doEvents();

        // lstPat holds only the ticked patterns while the walk runs.
        std::vector<std::string> savedTexts;
        std::vector<bool> savedTicks;
        std::vector<std::size_t> unticked;
        for (std::size_t i = 0; i < ui.lstPat.count(); ++i) {
            savedTexts.push_back(ui.lstPat.text(i));
            savedTicks.push_back(ui.lstPat.checked(i));
            if (!ui.lstPat.checked(i)) {
                unticked.push_back(i);
            }
        }
        if (!unticked.empty()) {
            ui.lstPat.removeMany(unticked);
        }
        ui.lstFound.clear();

        hooks_.setEn(false);
        s_.bStop = false;
        ui.controls.setEnabled("cmdStopFind", true);
        ui.controls.setEnabled("mStopFind", true);
        ui.controls.setFocus("cmdStopFind");

        // Patterns as they were before the scan.
        const auto restorePatterns = [&] {
            ui.lstPat.clear();
            ui.lstPat.appendMany(savedTexts);
            for (std::size_t i = 0; i < savedTicks.size(); ++i) {
                if (savedTicks[i]) {
                    ui.lstPat.setChecked(i, true);
                }
            }
        };
        try {
            walk();
        } catch (...) {
            // Memory running out (say) ends the scan, not the program: the window is left as
            // a stopped scan leaves it, and the caller says what failed.
            hooks_.setEn(true);
            ui.controls.setEnabled("cmdStopFind", false);
            ui.controls.setEnabled("mStopFind", false);
            s_.bStop = true;
            s_.scanActive = false;
            restorePatterns();
            ui.window.setPointer(kPointerDefault);
            throw;
        }

        hooks_.setEn(true);
        ui.controls.setEnabled("cmdStopFind", false);
        ui.controls.setEnabled("mStopFind", false);
        ui.controls.setFocus("cmdFind");
        const std::string stopNotice =
            s_.bStop ? std::string("用户终止!") + kCrLf + kCrLf : std::string();
        s_.bStop = true;

        buildReportTexts();
        showSummary(stopNotice);

        restorePatterns();
        ui.window.setPointer(kPointerDefault);
    }
    checks_.CheckFiles();
    s_.scanActive = false;
}

void ScanDriver::walk() {
    Platform& ui = s_.ui;
    // The boxes say what they leave out: a ticked box keeps those files out of the scan.
    walker_.begin(ui.controls.value("chkHideFile") != 0, ui.controls.value("chkSystemFile") != 0);
    const std::size_t count = ui.lstDrive.count();
    // The last location is the temporary folder, which is walked first.
    if (count > 0 && ui.lstDrive.checked(count - 1)) {
        s_.sTempPath = ui.fs.tempFolder();
        walker_.Dirs(s_.sTempPath);
    }
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (ui.lstDrive.checked(i)) {
            walker_.Dirs(ui.lstDrive.text(i));
        }
    }
}

void ScanDriver::buildReportTexts() {
    const auto build = [](const char* heading, const CheckList& list) {
        std::string text = std::string(heading) + kCrLf;
        for (std::size_t i = 0; i < list.count(); ++i) {
            if (list.checked(i)) {
                text += "    " + visibleText(list.text(i)) + kCrLf;
            }
        }
        return text;
    };
    s_.sFindPlaces = build("查找位置", s_.ui.lstDrive);
    s_.sFindTypes = build("查找的文件类型：", s_.ui.lstPat);
}

void ScanDriver::showSummary(const std::string& stopNotice) {
    Platform& ui = s_.ui;
    const std::size_t found = ui.lstFound.count();
    const std::uint64_t bytes = checks_.FilesSize(walker_.takeLengths());
    const std::string summary =
        "找到 " + formatGrouped(found) + "个文件，" + "共" + formatGrouped(bytes) + " 字节。";
    ui.controls.setCaption("lblInfo", summary);
    const std::string text = stopNotice + summary + kCrLf + "是否要查看详细信息？" + kCrLf + kCrLf +
                             "共找到 " + std::to_string(ui.lstFound.count()) + " 个文件。";
    if (ui.dialogs.messageBox(text, mb::kYesNo | mb::kInformation, "查找完成") == mb::kIdYes) {
        hooks_.viewInfo(s_.sTempPath + std::string(kScanReportName));
    }
}

}  // namespace scourix
