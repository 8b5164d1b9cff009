#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace scourix {

// Every operation of FakeFileSystem, for injected failures and the call log.
// clang-format off
enum class FsOp { Lookup, Inspect, OpenFolder, ReadFolder, FileLength, Remove, RemoveIf, Rename,
                  ResetAttributes, Probe, ReadLines, ReadText, ReplaceText, WriteText };
// clang-format on

// An in-memory tree of folders, files, links and system files (devices, FIFOs). Paths are
// absolute or relative to `current`; a name beginning with "." is hidden. File contents
// are the texts as the program wrote them (UTF-8, line ends included), so a test compares
// them byte for byte. Any operation can be made to fail on a given path.
class FakeFileSystem : public FileSystem {
public:
    enum class Kind { Folder, File, Link, Special };

    struct Node {
        Kind kind = Kind::File;
        std::string content;
        std::optional<std::uint64_t> length;  // overrides content.size()
        // A file without owner write permission; a folder whose entries cannot change.
        bool readOnly = false;
        std::string target;  // links
        std::uint64_t device = 1;
        std::uint64_t inode = 0;
        bool virtualFileSystem = false;
    };

    FakeFileSystem();

    std::vector<std::string> volumeList{"/"};
    // The files an installed package owns, by their paths.
    std::set<std::string> packageFiles;
    std::string temp = "/tmp/";
    std::string program = "/opt/scourix";
    std::string current = "/home/user";

    // Set-up; missing parent folders are created.
    void addFolder(const std::string& path, bool readOnly = false) {
        make(path, Kind::Folder).readOnly = readOnly;
    }
    void addFile(const std::string& path, std::string content = "", bool readOnly = false);
    void addLink(const std::string& path, const std::string& target) {
        make(path, Kind::Link).target = target;
    }
    void addSpecial(const std::string& path) { make(path, Kind::Special); }
    void setLength(const std::string& path, std::uint64_t length) {
        nodes_.at(normalize(path)).length = length;
    }
    // Marks a folder and everything now below it as another volume.
    void markVolume(const std::string& path, std::uint64_t device, bool virtualFs = false);
    // Shows the folder source, with its entries and its id, at the folder mountPoint too.
    void bindMount(const std::string& mountPoint, const std::string& source) {
        binds_[normalize(mountPoint)] = normalize(source);
    }

    // The next `times` calls of op on path fail with error (every call with times < 0).
    void failOn(FsOp op, const std::string& path, Error error, int times = -1) {
        failures_[{op, normalize(path)}] = Failure{std::move(error), times};
    }
    void clearFailures() { failures_.clear(); }

    bool exists(const std::string& path) const { return node(path) != nullptr; }
    const Node* node(const std::string& path) const;
    // The content of the file at path; throws when there is none.
    const std::string& content(const std::string& path) const;

    // Every call in order, with the path as given (Rename: the source).
    mutable std::vector<std::pair<FsOp, std::string>> calls;
    int callCount(FsOp op) const {
        return static_cast<int>(
            std::count_if(calls.begin(), calls.end(), [op](auto& c) { return c.first == op; }));
    }

    // FileSystem.
    Result<std::string> lookup(const std::string& path, Lookup filter) const override;
    Result<std::string> lookupListed(const std::string& path, Lookup filter) const override {
        Result<std::string> found = lookup(path, filter);
        return found && packageFiles.contains(normalize(path)) ? std::string() : found;
    }
    bool packageOwned(const std::string& path) const override {
        return packageFiles.contains(path);
    }
    std::string realPath(const OpenFolder& folder) const override;
    Result<std::uint64_t> fileLength(const std::string& path) const override;
    void inspect(const std::vector<std::string_view>& paths, bool owners,
                 std::vector<Result<FileFacts>>& out) const override;
    Status removeFile(const std::string& path) override;
    Result<bool> removeFileIf(const std::string& path, const WrittenFile& written) override;
    Result<OpenFolderPtr> openFolder(const std::string& path) const override;
    Result<OpenFolderPtr> openSubfolder(const OpenFolder& parent,
                                        std::string_view name) const override;
    Result<OpenFolderPtr> openParent(const OpenFolder& child) const override;
    Status readFolder(const OpenFolder& folder, FolderVisitor& visitor) const override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Result<bool> resetAttributes(const std::string& path) override;
    std::string tempFolder() const override { return temp; }
    std::vector<std::string> volumes() const override { return volumeList; }
    Status probe(const std::string& path) const override;
    std::string programFolder() const override { return program; }
    std::string currentFolder() const override { return current; }
    Result<std::vector<std::string>> readLines(const std::string& path) const override;
    Result<std::string> readText(const std::string& path) const override;
    Result<WrittenFilePtr> writeText(const std::string& path, const std::string& text) override;
    Status replaceText(const std::string& path, const std::string& text) override {
        return store(FsOp::ReplaceText, path, text);
    }

    // The absolute form of path without a final "/" ("/" stays).
    std::string normalize(const std::string& path) const;
    static Error noSuchFile() { return {ENOENT, "No such file or directory"}; }
    static Error permissionDenied() { return {EACCES, "Permission denied"}; }

private:
    struct Failure {
        Error error;
        int times = -1;
    };

    // Logs the call and returns the injected failure, if one is due.
    std::optional<Error> enter(FsOp op, const std::string& path) const;
    // Logs the call; then the injected failure, or the key of the node at path, which must
    // be a folder (wantFolder) or not one. Links are followed when asked.
    Result<std::string> reach(FsOp op, const std::string& path, bool follow, bool wantFolder) const;
    std::optional<Error> canChangeEntryIn(const std::string& key) const;
    Node& make(const std::string& path, Kind kind);
    Status store(FsOp op, const std::string& path, const std::string& text);
    // The folder at key as a walk sees it, with the path the walk reached it by.
    Result<OpenFolderPtr> openAt(const std::string& key, const std::string& shown,
                                 bool log = true) const;

    std::map<std::string, Node> nodes_;
    std::map<std::string, std::string> binds_;
    mutable std::mutex mutex_;
    mutable std::map<std::pair<FsOp, std::string>, Failure> failures_;
    std::uint64_t nextInode_ = 2;
};

}  // namespace scourix
