#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/PatternSet.h"
#include "scan/WalkNode.h"

namespace scourix {

struct FileIdHash {
    std::size_t operator()(const FileId& id) const {
        return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};
using FileIdSet = std::unordered_set<FileId, FileIdHash>;

// What a scan lists and where it must not go; fixed for the whole scan.
struct ReadRules {
    const PatternSet* patterns = nullptr;
    // Per pattern: whether a file it matches counts only when it is an ELF core file.
    std::vector<bool> coreOnly;
    bool skipHidden = true;
    bool skipSystem = true;
    // The other volumes of the location list: walked only from their own entries.
    FileIdSet volumes;
};

// Opens and reads one folder of a walk and keeps what the scan needs of it: the names
// that match with their lengths, and the subfolders, each sorted. Names are matched as the
// folder is read, and a matching file's length is taken relative to the open folder, so
// that the byte total needs no look of its own; nothing else of the folder is kept. One
// reader per thread.
class FolderReader final : private FolderVisitor {
public:
    FolderReader(const FileSystem& fs, const ReadRules& rules) : fs_(fs), rules_(rules) {}

    // Reads node: the location by its path, a subfolder relative to its parent's open
    // folder. The subfolders come back in walk order.
    void read(WalkNode& node, const OpenFolder* parent, std::vector<std::string>& subfolders);

    // Whether the walk leaves the folder out: another file system's view of the kernel, or
    // another listed volume below the location.
    bool leftOut(const WalkNode& node) const;

private:
    void readFolder(WalkNode& node, const OpenFolder* parent, std::vector<std::string>& subfolders);
    void entry(std::string_view name, EntryKind kind) override;
    bool needsContentCheck() const;
    // Drops the hits of core-only patterns unless name is an ELF core file; false when no
    // hit is left.
    bool keepCoreHits(std::string_view name, EntryKind kind);

    const FileSystem& fs_;
    const ReadRules& rules_;
    const OpenFolder* folder_ = nullptr;
    std::vector<FolderMatch>* matches_ = nullptr;
    std::vector<std::string>* subfolders_ = nullptr;
    PatternSet::Scratch scratch_;
    std::vector<std::size_t> hits_;
};

}  // namespace scourix
