#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scourix::bench {

// The floor: a recursive readdir walk that matches nothing and counts the entries.
std::size_t bareWalk(const std::string& root);

// Runs a program with arguments (no shell), its output thrown away; returns its exit code.
int runQuietly(const std::vector<std::string>& argv);

// GNU find with one case-insensitive name test per pattern, leaving hidden files out as the
// scan does by default.
std::vector<std::string> findArguments(const std::string& root,
                                       const std::vector<std::string>& patterns);

}  // namespace scourix::bench
