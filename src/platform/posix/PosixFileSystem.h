#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/FileSystem.h"

namespace scourix {

// The file system on Linux. Paths are taken and given as their exact bytes; links are
// never followed except for a folder path given to listFolder or probe.
class PosixFileSystem final : public FileSystem {
public:
    // programFolder: where TypeList.ini and TypeRead.ini live; empty for the folder of
    // the running executable.
    explicit PosixFileSystem(std::string programFolder = {});

    Result<std::string> lookup(const std::string& path, Lookup filter) const override;
    Result<FolderListing> listFolder(const std::string& path) const override;
    Result<std::uint64_t> fileLength(const std::string& path) const override;

    Status removeFile(const std::string& path) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Result<bool> resetAttributes(const std::string& path) override;

    std::string tempFolder() const override;
    std::vector<std::string> volumes() const override;
    Status probe(const std::string& path) const override;

    std::string programFolder() const override { return programFolder_; }
    std::string currentFolder() const override;
    std::string userConfigFolder() const override;
    bool canWriteIn(const std::string& folder) const override;
    Status makeFolders(const std::string& folder) override;

    Result<std::vector<std::string>> readLines(const std::string& path) const override;
    Result<std::string> readText(const std::string& path) const override;
    Status writeText(const std::string& path, const std::string& text) override;
    Status replaceText(const std::string& path, const std::string& text) override;

private:
    // Whether the folder open as fd lies on a file system that a walk never enters.
    bool isVirtual(int fd, std::uint64_t device) const;

    std::string programFolder_;
    // devtmpfs reports tmpfs's magic number; the mount table tells them apart. Cached
    // per device number, since temporary folders are often tmpfs.
    // Whether the file system of a device number is virtual, asked once per device: a
    // scan reads thousands of folders on the same few file systems.
    mutable std::mutex virtualMutex_;
    mutable std::unordered_map<std::uint64_t, bool> deviceIsVirtual_;
};

}  // namespace scourix
