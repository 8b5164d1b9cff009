#pragma once

#include <string>

#include "base/MainState.h"

namespace scourix {

inline constexpr const char* kTypeReadFile = "TypeRead.ini";

// Shows the descriptions of the junk types from TypeRead.ini in the program's folder.
class TypeDescriptions {
public:
    explicit TypeDescriptions(MainState& state) : s_(state) {}

    // Reads the file afresh every time, so that an edit shows at the next use.
    void mReportType_Click();

private:
    // The file's non-empty lines, each followed by CR LF; "" when there is no file. A
    // file that cannot be read is reported, and the text is what was read of it.
    std::string readDescriptions();

    MainState& s_;
};

}  // namespace scourix
