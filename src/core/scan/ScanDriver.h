#pragma once

#include <functional>
#include <string>

#include "base/MainState.h"
#include "scan/ResultChecks.h"
#include "scan/Walker.h"

namespace scourix {

// Runs one scan over the ticked locations and patterns, from the checks before it to the
// summary and the existence check after it.
class ScanDriver {
public:
    // What the scan needs from the rest of the window.
    struct Hooks {
        std::function<void(bool)> setEn;                   // SetEn
        std::function<void(int)> setSelectAll;             // sets chkSelAll, runs its click
        std::function<void(const std::string&)> viewInfo;  // ViewInfo
    };

    ScanDriver(MainState& state, Hooks hooks);

    void cmdFind_Click();
    void mFind_Click() { cmdFind_Click(); }
    void cmdStopFind_Click();
    void mStopFind_Click() { cmdStopFind_Click(); }

    Walker& walker() { return walker_; }
    ResultChecks& checks() { return checks_; }

private:
    bool anyTicked(const CheckList& list) const;
    void walk();
    void buildReportTexts();
    void showSummary(const std::string& stopNotice);

    MainState& s_;
    Hooks hooks_;
    Walker walker_;
    ResultChecks checks_;
};

}  // namespace scourix
