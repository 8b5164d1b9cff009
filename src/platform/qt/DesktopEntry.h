#pragma once

#include <string>
#include <vector>

namespace scourix {

// An application's desktop entry, as far as starting it with one file goes: found by its
// desktop id in the data folders, its Exec line split into arguments by the entry's
// quoting rules, and the file put in place of the field codes.
class DesktopEntry {
public:
    // The entry file of a desktop id ("org.example.Editor.desktop") in
    // $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS; "" when none has it. A
    // "-" in the id may stand for a subfolder ("kde4-kate.desktop" in kde4/kate.desktop).
    // An entry file that another user owns or that group or others may write is passed by.
    static std::string find(const std::string& desktopId);

    // The program and arguments that open file (an absolute path) with the entry whose
    // text is given; empty when the entry has no usable Exec line. An entry that runs in a
    // terminal is started in the system's terminal emulator.
    static std::vector<std::string> commandFor(const std::string& entryText,
                                               const std::string& entryPath,
                                               const std::string& file);

    // "file://" and the path with every byte outside the unreserved set and "/"
    // percent-encoded.
    static std::string fileUri(const std::string& path);
};

}  // namespace scourix
