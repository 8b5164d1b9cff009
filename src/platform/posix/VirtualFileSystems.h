#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace scourix {

// Which file systems a walk never enters: proc, sysfs, devtmpfs and other views of the
// kernel. Asked once per device number, since a scan reads thousands of folders on the
// same few file systems; safe to ask from several threads.
class VirtualFileSystems {
public:
    // Whether the file system of the folder open as fd, on device, is one of them.
    bool contains(int fd, std::uint64_t device);

private:
    std::mutex mutex_;
    std::unordered_map<std::uint64_t, bool> byDevice_;
};

}  // namespace scourix
