#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace scourix {

// Records what the procedures ask of the desktop; openDocument and openTextFile answer
// `outcome`, showProperties `propertiesShown`.
class FakeShell : public Shell {
public:
    OpenOutcome outcome = OpenOutcome::Opened;
    bool propertiesShown = true;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> shownProperties;
    std::vector<std::string> openedTextFiles;

    OpenOutcome openDocument(const std::string& path) override {
        openedDocuments.push_back(path);
        return outcome;
    }
    bool showProperties(const std::string& path) override {
        shownProperties.push_back(path);
        return propertiesShown;
    }
    OpenOutcome openTextFile(const std::string& path) override {
        openedTextFiles.push_back(path);
        return outcome;
    }
};

}  // namespace scourix
