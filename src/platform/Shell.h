#pragma once

#include <string>

namespace scourix {

enum class OpenOutcome {
    Opened,
    NoAssociation,  // the file exists but the desktop has no application for its type
    Failed,
    OpenerMissing,  // the desktop's opener itself could not be started
};

// The desktop's services for one file. Paths are passed as one argument, never through
// a shell.
class Shell {
public:
    virtual ~Shell() = default;

    virtual OpenOutcome openDocument(const std::string& path) = 0;
    // False when no file manager can be asked to show the sheet: no session bus (as for a
    // program started as root by pkexec), or none on it.
    virtual bool showProperties(const std::string& path) = 0;
    // Opens a text file in the desktop's default application for text files.
    virtual OpenOutcome openTextFile(const std::string& path) = 0;
};

}  // namespace scourix
