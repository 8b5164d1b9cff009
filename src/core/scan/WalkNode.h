#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace scourix {

// A file that matched, as a folder's read gives it: the pattern's index, the name, and the
// length the read found (kNoLength when the look failed).
struct FolderMatch {
    static constexpr std::uint64_t kNoLength = UINT64_MAX;
    std::uint32_t pattern = 0;
    std::string name;
    std::uint64_t length = kNoLength;
};

// One folder of a walk, from the moment its parent's read named it until the walk has
// finished with it. FolderQueue guards every field but the read's results, which only
// the thread reading the folder writes, before the folder is handed on.
struct WalkNode {
    enum class State : unsigned char { Waiting, Reading, Read };

    // Walk order: the folders not yet visited, each subfolder right after its parent's
    // earlier subfolders and everything below them.
    WalkNode* prev = nullptr;
    WalkNode* next = nullptr;
    WalkNode* parent = nullptr;  // null for the location itself

    std::string name;  // the subfolder's name; for the location, its whole path
    std::uint32_t depth = 0;
    State state = State::Waiting;
    bool inQueue = false;
    bool withWalker = false;  // handed to the walker and not given back yet
    bool onPath = false;      // entered, with everything below it still to be walked
    bool cancelled = false;   // dropped from the walk while a thread was reading it
    bool stale = false;       // a box was answered while a thread was reading it
    unsigned pins = 0;        // threads opening a subfolder through `folder`

    // What the read found. folder is null when the read failed, when the name is no
    // longer a folder, and, for folders on the path, while it is closed to keep the
    // number of open folders bounded (id stays).
    OpenFolderPtr folder;
    FileId id;
    std::optional<Error> error;
    std::vector<FolderMatch> matches;  // grouped by pattern, in name order within each
};

}  // namespace scourix
