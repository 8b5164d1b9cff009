#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scourix::bench {

// A deterministic folder tree for measurements: the same seed gives the same names.
struct TreeShape {
    std::size_t folders = 20000;
    std::size_t files = 200000;
    unsigned seed = 1;
    // Share of the files, in percent, named to match a built-in pattern; 2 % more are
    // hidden junk and 1 % junk with names that are not UTF-8.
    unsigned junkPercent = 10;
    // Share of the files, in percent, that are links (junk names, listed) or FIFOs (junk
    // names, never listed), half each.
    unsigned specialPercent = 0;
};

struct TreeStats {
    std::size_t folders = 0;
    std::size_t files = 0;
    std::size_t junk = 0;  // files whose names match a built-in pattern by construction
};

// Reads "folders files [rounds]" from a benchmark's arguments, when given.
void readShapeArguments(int argc, char** argv, TreeShape& shape, int& rounds);

// Builds the tree under root (which must exist and be empty).
TreeStats buildTree(const std::string& root, const TreeShape& shape);

// Removes root and everything below it, however deep.
void removeTree(const std::string& root);

// The name of the file system that holds path, such as "ext4" or "tmpfs".
std::string fileSystemName(const std::string& path);

// $TMPDIR, else /tmp: where the benchmarks build their trees.
std::string tempFolder();

// Makes a fresh empty folder under tempFolder().
std::string makeTempFolder(const std::string& prefix);

}  // namespace scourix::bench
