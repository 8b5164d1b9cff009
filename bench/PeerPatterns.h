#pragma once

#include <string>
#include <vector>

namespace scourix::bench {

// The scan's wildcards ("*" any run, "?" one character, case-insensitive, every other
// character literal; "X.*" also matches a dotless name that matches X) in the peers' terms.
// The scan bench compares every peer's set of paths with the scan's, which checks these.

// find and bfs: one -iname test per pattern, joined with -o. A pattern ending in ".*" gets
// a second test for names without a dot, which -iname does not know.
std::vector<std::string> findNameTests(const std::vector<std::string>& patterns);

// fd: one case-insensitive regex matching the names that any pattern matches, hidden names
// (a leading ".") left out, since the scan enters hidden folders but skips hidden files.
// Byte-wise, so that names that are not UTF-8 match as the scan's do.
std::string fdNameRegex(const std::vector<std::string>& patterns);

}  // namespace scourix::bench
