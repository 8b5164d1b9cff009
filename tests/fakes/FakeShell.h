#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace scourix {

// Records what the procedures ask of the desktop; openDocument answers `outcome`.
class FakeShell : public Shell {
public:
    OpenOutcome outcome = OpenOutcome::Opened;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> heads;  // the first bytes given with each
    std::vector<std::string> shownProperties;
    std::vector<std::string> openedTextFiles;

    OpenOutcome openDocument(const std::string& path, const std::string& head) override {
        heads.push_back(head);
        openedDocuments.push_back(path);
        return outcome;
    }
    void showProperties(const std::string& path) override { shownProperties.push_back(path); }
    void openTextFile(const std::string& path) override { openedTextFiles.push_back(path); }
};

}  // namespace scourix
