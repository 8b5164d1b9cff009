#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scourix::bench {

// The floor: a single-threaded getdents64 walk relative to each parent's descriptor that
// enters every folder (hidden ones too, never through a link), matches nothing and counts
// the entries.
std::size_t bareWalk(const std::string& root);

// The classic bare walk: opendir by the full path, readdir, closedir, one thread; enters
// every folder the same way and counts the entries.
std::size_t readdirWalk(const std::string& root);

// Runs a program with arguments (no shell), its output thrown away; returns its exit code.
int runQuietly(const std::vector<std::string>& argv);

// A program's exit code and its standard output, read into memory through a pipe: every
// peer pays the same for its output, and the output can be checked afterwards.
struct Captured {
    int status = -1;
    std::string output;
};
// env entries such as "LC_ALL=C" are added to (and override) this process's environment.
Captured runCaptured(const std::vector<std::string>& argv,
                     const std::vector<std::string>& env = {});

// The paths of NUL-separated output, sorted, each once.
std::vector<std::string> uniquePaths(const std::string& nulSeparated);

// Whether a program can be found on PATH.
bool installed(const std::string& program);

// find or bfs with the scan's name tests, leaving hidden files out as the scan does by
// default and listing regular files and links, NUL-separated.
std::vector<std::string> findArguments(const std::string& program, const std::string& root,
                                       const std::vector<std::string>& patterns);

// fd (Debian's fdfind) with the same semantics: hidden folders entered, nothing ignored,
// regular files and links, one regex for all patterns.
std::vector<std::string> fdArguments(const std::string& root,
                                     const std::vector<std::string>& patterns);

}  // namespace scourix::bench
