#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PackageDatabase.h"
#include "platform/posix/PathResolver.h"
#include "platform/posix/VirtualFileSystems.h"

namespace scourix {

// The file system on Linux. Paths are taken and given as their exact bytes and reached
// through PathResolver: links are followed only by its rule, and a path operation acts on
// a link itself, never on what it points to.
class PosixFileSystem final : public FileSystem {
public:
    // programFolder: where TypeList.ini and TypeRead.ini live; empty for the folder of
    // the running executable. packages: who installed which file; the dpkg database when
    // none is given. trust: the rule for links; LinkTrust's own when none is given.
    explicit PosixFileSystem(std::string programFolder = {},
                             std::shared_ptr<PackageDatabase> packages = {},
                             std::shared_ptr<const LinkTrust> trust = {});

    Result<std::string> lookup(const std::string& path, Lookup filter) const override;
    Result<std::string> lookupListed(const std::string& path, Lookup filter) const override;
    bool packageOwned(const std::string& path) const override {
        return packages_->owns(path) || compiledFromOwned(path);
    }
    std::string realPath(const OpenFolder& folder) const override;
    Result<std::uint64_t> fileLength(const std::string& path) const override;
    Result<CheckedFile> checkedRegularFile(const std::string& path,
                                           std::size_t headBytes) const override;
    Result<std::uint64_t> entryLength(const OpenFolder& folder,
                                      std::string_view name) const override;
    OpenFilesPtr openFiles() const override;
    void refuseOpenFiles(OpenFilesPtr open) override { refused_ = std::move(open); }
    Result<std::string> entryHead(const OpenFolder& folder, std::string_view name,
                                  std::size_t count) const override;
    void inspect(const std::vector<std::string_view>& paths, bool owners,
                 std::vector<Result<FileFacts>>& out) const override;

    Status removeFile(const std::string& path) override;
    Result<bool> removeFileIf(const std::string& path, const WrittenFile& written) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Result<bool> resetAttributes(const std::string& path) override;
    void holdFolders(bool hold) override { resolver_.hold(hold); }

    Result<OpenFolderPtr> openFolder(const std::string& path) const override;
    Result<OpenFolderPtr> openSubfolder(const OpenFolder& parent,
                                        std::string_view name) const override;
    Result<OpenFolderPtr> openParent(const OpenFolder& child) const override;
    Status readFolder(const OpenFolder& folder, FolderVisitor& visitor) const override;

    std::string tempFolder() const override;
    std::vector<std::string> volumes() const override;
    Status probe(const std::string& path) const override;

    std::string programFolder() const override { return programFolder_; }
    std::string currentFolder() const override;
    std::string userConfigFolder() const override;
    bool canWriteIn(const std::string& folder) const override;
    Status makeFolders(const std::string& folder) override;

    Result<std::vector<std::string>> readLines(const std::string& path,
                                               std::size_t maxLines) const override;
    Result<std::string> readText(const std::string& path) const override;
    Result<WrittenFilePtr> writeText(const std::string& path, const std::string& text) override;
    Status replaceText(const std::string& path, const std::string& text) override;

    // Text files larger than this are not read: they cannot be what the program wrote.
    static constexpr std::size_t kMaxTextFile = 64u << 20;

private:
    Result<std::string> readBytes(const std::string& path) const;
    Result<std::string> lookupIn(const Result<ReachedEntry>& at, Lookup filter) const;
    // Whether a package owns the file `name` in the folder whose real path is given.
    bool owned(const std::string& folder, std::string_view name) const;
    // Whether path is bytecode that a package's install scripts compiled from its own source.
    bool compiledFromOwned(std::string_view path) const;
    // Whether the file st describes is one the command in progress must leave alone.
    bool refused(const struct stat& st) const;

    std::string programFolder_;
    std::shared_ptr<PackageDatabase> packages_;
    OpenFilesPtr refused_;  // set while a command leaves open files alone

    PathResolver resolver_;
    mutable VirtualFileSystems virtuals_;
};

}  // namespace scourix
