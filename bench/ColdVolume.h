#pragma once

#include <cstddef>
#include <string>

namespace scourix::bench {

// An ext4 image on the real disk, mounted through a loop device that bypasses the host's
// page cache, so that after remount() nothing of it is cached: each contender meets a
// cold disk. Needs root; the image goes when the volume does.
class ColdVolume {
public:
    ColdVolume() = default;
    ~ColdVolume();
    ColdVolume(const ColdVolume&) = delete;
    ColdVolume& operator=(const ColdVolume&) = delete;

    // Why a cold volume cannot be had here ("" when it can).
    static std::string unavailable();
    // Makes and mounts an image with room for this many entries; false on failure.
    bool create(std::size_t entries);
    // Unmounts and mounts again, which empties the volume's caches.
    void remount();
    const std::string& mountPoint() const { return mountPoint_; }

private:
    std::string folder_;  // holds the image and the mount point
    std::string image_;
    std::string device_;
    std::string mountPoint_;
    bool mounted_ = false;
};

}  // namespace scourix::bench
