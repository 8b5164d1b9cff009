#include "types/TypeDescriptions.h"
#include "platform/VisibleText.h"

#include "base/ProgramFiles.h"
#include "infowin/InfoContent.h"
#include "platform/Dialogs.h"
#include "types/TypeListStore.h"

namespace scourix {

namespace {
constexpr const char* kHeading = "文件类型的详细说明";
}

void TypeDescriptions::mReportType_Click() {
    std::string text = readDescriptions();
    showInfo(s_.ui.window, {.heading = kHeading,
                            .text = std::move(text),
                            .textColor = kBlue,
                            .background = kWhite,
                            .fontPoints = {}});
}

std::string TypeDescriptions::readDescriptions() {
    const std::string path = programFile(s_.ui.fs, kTypeReadFile);
    // A hidden or special file of that name counts as no file.
    const Result<std::string> found = s_.ui.fs.lookup(path, Lookup::Ordinary);
    if (found && found.value().empty()) {
        return {};
    }
    Result<std::vector<std::string>> lines = found
                                                 ? s_.ui.fs.readLines(path, kMaxTypeLines)
                                                 : Result<std::vector<std::string>>(found.error());
    if (!lines) {
        s_.ui.dialogs.messageBox(std::string("读取文件类型的详细说明时发生错误。") + kCrLf + kCrLf +
                                     visibleText(path) + kCrLf + lines.error().description,
                                 mb::kCritical, kHeading);
        return {};
    }
    std::string text;
    for (const std::string& line : lines.value()) {
        if (!line.empty()) {
            text += line;
            text += kCrLf;
        }
    }
    return text;
}

}  // namespace scourix
