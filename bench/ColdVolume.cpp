#include "ColdVolume.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "Peers.h"

namespace scourix::bench {

std::string ColdVolume::unavailable() {
    if (::geteuid() != 0) {
        return "needs root, to mount an ext4 image on a loop device";
    }
    for (const char* tool : {"mkfs.ext4", "losetup", "mount", "umount"}) {
        if (!installed(tool) && !std::filesystem::exists(std::string("/usr/sbin/") + tool)) {
            return std::string(tool) + " is not installed";
        }
    }
    return {};
}

bool ColdVolume::create(std::size_t entries) {
    // On the real disk, never on a memory file system.
    char folder[] = "/var/tmp/scourix-cold-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return false;
    }
    folder_ = folder;
    image_ = folder_ + "/tree.ext4";
    mountPoint_ = folder_ + "/mnt";
    std::filesystem::create_directory(mountPoint_);
    // A block per entry, twice over for the folders' own blocks and the journal.
    const std::size_t bytes = std::max<std::size_t>(entries * 8192, 256u << 20);
    if (runQuietly({"truncate", "-s", std::to_string(bytes), image_}) != 0 ||
        runQuietly({"mkfs.ext4", "-q", "-F", "-N", std::to_string(entries + entries / 4 + 1024),
                    image_}) != 0) {
        return false;
    }
    const Captured loop = runCaptured({"losetup", "-f", "--show", "--direct-io=on", image_});
    if (loop.status != 0 || loop.output.empty()) {
        return false;
    }
    device_ = loop.output.substr(0, loop.output.find('\n'));
    mounted_ = runQuietly({"mount", "-t", "ext4", device_, mountPoint_}) == 0;
    return mounted_;
}

void ColdVolume::remount() {
    if (runQuietly({"umount", mountPoint_}) != 0 ||
        runQuietly({"mount", "-t", "ext4", device_, mountPoint_}) != 0) {
        throw std::runtime_error("cannot mount " + device_ + " again on " + mountPoint_);
    }
}

ColdVolume::~ColdVolume() {
    if (mounted_) {
        runQuietly({"umount", mountPoint_});
    }
    if (!device_.empty()) {
        runQuietly({"losetup", "-d", device_});
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

}  // namespace scourix::bench
