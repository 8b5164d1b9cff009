#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/MainState.h"

namespace scourix {

inline constexpr std::string_view kTypeListFile = "TypeList.ini";
// Beside the executable of an installed package.
inline constexpr std::string_view kInstalledMarker = "installed";
// TypeList.ini and TypeRead.ini are read up to this many lines. A list kept by hand has
// hundreds of patterns, the built-in one 43; this many load in a fraction of a second, while
// a file of millions of short lines took minutes and gigabytes, and a scan matches every name
// against every pattern.
inline constexpr std::size_t kMaxTypeLines = 100'000;

// The copy of TypeList.ini in use. A program folder that can be written holds it, as
// always. Installed for all users the program folder cannot be written, and the user's own
// copy in the settings folder takes its place; until there is one, the program folder's
// copy (or the built-in list) is read. Installed as a package (the marker file in the
// program folder), only the user's own copy counts.
std::string typeListInUse(const FileSystem& fs);
// Where the list is saved: the program folder when it can be written and not installed
// as a package, else the user's settings folder, made when missing; "" when there is none.
std::string typeListToWrite(FileSystem& fs);

// The pattern list lstPat and its file TypeList.ini in the program's folder: one line per
// entry, the flag "1" (ticked) or "0" directly followed by the pattern.
class TypeListStore {
public:
    explicit TypeListStore(MainState& state) : s_(state) {}

    // Start-up: the file's list when the file exists and can be read, otherwise the built-in
    // list that the window already holds, all ticked.
    void initialise();

    // Replaces lstPat with the file's entries; false, with lstPat as it was and no message,
    // when the file cannot be read.
    bool LoadTypeList();

    // Writes lstPat to the file; the previous file stays whole unless the whole list was
    // written. A file that could not be read is not written either: its read's failure is
    // returned. The caller reports a failure.
    Status SaveTypeList();

    // After a start-up that failed half-way: the list as it stands replaces no file.
    void keepFile() { keepFile_ = true; }

private:
    MainState& s_;
    std::optional<std::pair<std::string, Error>> unreadable_;
    bool keepFile_ = false;
};

}  // namespace scourix
