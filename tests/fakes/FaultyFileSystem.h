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

#include "platform/posix/PosixFileSystem.h"

namespace scourix {

// Every operation, for injected failures and the call log.
// clang-format off
enum class FsOp { Lookup, Inspect, OpenFolder, ReadFolder, FileLength, Remove, RemoveIf, Rename,
                  ResetAttributes, Probe, ReadLines, ReadText, ReplaceText, WriteText };
// clang-format on

// The real file system, in a folder of the test's own that stands for "/": the test and the
// procedures use paths such as "/data/a.tmp" and the files are real ones below that folder.
// Any operation can be made to fail on a given path, a folder can be made to look like a
// view of the kernel or like a bind mount of another, and the places the program asks for
// (temporary, program and current folders, volumes, package files) are the test's to set.
class FaultyFileSystem : public FileSystem {
public:
    enum class Kind { Folder, File, Link, Special };
    struct Node {
        Kind kind;
        bool readOnly;  // a file without owner write permission
    };

    FaultyFileSystem();
    ~FaultyFileSystem() override;
    FaultyFileSystem(const FaultyFileSystem&) = delete;
    FaultyFileSystem& operator=(const FaultyFileSystem&) = delete;

    std::vector<std::string> volumeList{"/"};
    std::set<std::string> packageFiles;
    std::string temp = "/tmp/";
    std::string program = "/opt/scourix";
    std::string current = "/home/user";

    // Set-up; missing parent folders are made. Texts are written as the program writes
    // them, so that it reads them back as they were given.
    void addFolder(const std::string& path, bool readOnly = false);
    void addFile(const std::string& path, const std::string& text = "", bool readOnly = false);
    void addLink(const std::string& path, const std::string& target);
    void addSpecial(const std::string& path);
    void setLength(const std::string& path, std::uint64_t length);
    // The folder and everything below it look like a view of the kernel.
    void markVirtual(const std::string& path) { virtual_.insert(normalize(path)); }
    // The folder mountPoint shows source, its entries and its id, as a bind mount does.
    void bindMount(const std::string& mountPoint, const std::string& source) {
        binds_[normalize(mountPoint)] = normalize(source);
    }

    // The next `times` calls of op on path fail with error (every call with times < 0).
    void failOn(FsOp op, const std::string& path, Error error, int times = -1);
    void clearFailures();

    bool exists(const std::string& path) const { return node(path).has_value(); }
    std::optional<Node> node(const std::string& path) const;
    // The text of the file at path, as the program reads it.
    std::string content(const std::string& path) const;

    // Every call in order, with the path as given (Rename: the source).
    mutable std::vector<std::pair<FsOp, std::string>> calls;
    int callCount(FsOp op) const;

    // The absolute form of path without a final "/" ("/" stays).
    std::string normalize(const std::string& path) const;
    // Where a path of the test's lies on the real file system.
    std::string real(const std::string& path) const { return root_ + normalize(path); }
    static Error noSuchFile() { return {ENOENT, "No such file or directory"}; }
    static Error permissionDenied() { return {EACCES, "Permission denied"}; }

    // FileSystem.
    Result<std::string> lookup(const std::string& path, Lookup filter) const override;
    Result<std::string> lookupListed(const std::string& path, Lookup filter) const override;
    bool packageOwned(const std::string& path) const override {
        return packageFiles.contains(path);
    }
    std::string realPath(const OpenFolder& folder) const override;
    Result<std::uint64_t> fileLength(const std::string& path) const override;
    void inspect(const std::vector<std::string_view>& paths, bool owners,
                 std::vector<Result<FileFacts>>& out) const override;
    Status removeFile(const std::string& path) override;
    Result<bool> removeFileIf(const std::string& path, const WrittenFile& written) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Result<bool> resetAttributes(const std::string& path) override;
    void holdFolders(bool hold) override { real_.holdFolders(hold); }
    Result<OpenFolderPtr> openFolder(const std::string& path) const override;
    Result<OpenFolderPtr> openSubfolder(const OpenFolder& parent,
                                        std::string_view name) const override;
    Result<OpenFolderPtr> openParent(const OpenFolder& child) const override;
    Status readFolder(const OpenFolder& folder, FolderVisitor& visitor) const override;
    std::string tempFolder() const override { return temp; }
    std::vector<std::string> volumes() const override { return volumeList; }
    Status probe(const std::string& path) const override;
    std::string programFolder() const override { return program; }
    std::string currentFolder() const override { return current; }
    Result<std::vector<std::string>> readLines(const std::string& path) const override;
    Result<std::string> readText(const std::string& path) const override;
    Result<WrittenFilePtr> writeText(const std::string& path, const std::string& text) override;
    Status replaceText(const std::string& path, const std::string& text) override;

private:
    struct Failure {
        Error error;
        int times = -1;
    };

    // Logs the call and returns the injected failure, if one is due; a change of a folder
    // marked read-only fails as the system would refuse it to anyone but root.
    std::optional<Error> enter(FsOp op, const std::string& path) const;
    Result<OpenFolderPtr> track(Result<OpenFolderPtr> opened, const std::string& path) const;

    std::string root_;
    PosixFileSystem real_;
    std::set<std::string> virtual_;
    std::set<std::string> readOnlyFolders_;
    std::map<std::string, std::string> binds_;
    mutable std::map<std::pair<FsOp, std::string>, Failure> failures_;
    mutable std::mutex mutex_;
};

}  // namespace scourix
