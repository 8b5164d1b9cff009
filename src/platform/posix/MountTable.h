#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scourix {

// One line of /proc/self/mountinfo.
struct MountEntry {
    std::uint64_t device = 0;  // the device number (st_dev) of files on this mount
    std::string root;          // the folder of the file system mounted here
    std::string mountPoint;    // exact bytes, escapes decoded
    std::string type;          // "ext4", "proc", "fuse.sshfs", ...
    std::string source;
};

// The mount table of this process, in mount order.
class MountTable {
public:
    // Parses mountinfo text; lines that do not have its shape are passed over.
    static MountTable parse(std::string_view text);
    // This process's table; empty when /proc is not there.
    static MountTable current();

    const std::vector<MountEntry>& entries() const { return entries_; }

    // The type of the file system mounted last with this device number, "" if none.
    std::string typeOfDevice(std::uint64_t device) const;

    // "/" first, then the mount points of storage volumes in table order, each once and
    // ending in "/". A mount point mounted over again counts as what was mounted last.
    std::vector<std::string> volumes() const;

    // File systems that hold no user files but views of the kernel; a walk never enters
    // them.
    static bool isVirtualType(std::string_view type);
    // Whether a mount holds files a user keeps: not virtual, not a system place.
    static bool isStorage(const MountEntry& entry);

    // Undoes the octal escapes (\040 for a blank, \011, \012, \134) of mountinfo fields.
    static std::string unescape(std::string_view field);

private:
    std::vector<MountEntry> entries_;
};

}  // namespace scourix
