#pragma once

#include <string>
#include <unordered_set>

#include "platform/FileSystem.h"

namespace scourix {

// The files that running processes hold open, from one pass over the descriptors under
// /proc, each compared by device and inode, so that any name of a file counts. The
// program's own descriptors do not count: its open folders are not files it deletes.
class PosixOpenFiles final : public OpenFiles {
public:
    // procRoot is where the process folders are ("/proc" on a running system).
    static std::shared_ptr<const PosixOpenFiles> take(const std::string& procRoot = "/proc");

    bool holds(const FileId& id) const override { return held_.contains(id); }
    std::size_t size() const { return held_.size(); }

private:
    struct Hash {
        std::size_t operator()(const FileId& id) const {
            return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
        }
    };
    std::unordered_set<FileId, Hash> held_;
};

}  // namespace scourix
