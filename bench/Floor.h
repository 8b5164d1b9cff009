#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace scourix::bench {

// The names of a scan's distinct results by their folders' paths.
using ResultsByFolder = std::unordered_map<std::string, std::vector<std::string>>;
ResultsByFolder groupByFolder(const std::vector<std::string>& paths);

// The floor of a scan on one thread: the bare getdents walk, and in each folder holding
// results one fstatat per result relative to the open folder, twice (the byte total's look
// and the existence check's). Returns the entries walked.
std::size_t floorWalk(const std::string& root, const ResultsByFolder& results);

// The floor of the existence check: one fstatat per result relative to its folder, each
// folder opened once, the folders shared out among the threads.
void floorCheck(const ResultsByFolder& results, unsigned threads);

}  // namespace scourix::bench
