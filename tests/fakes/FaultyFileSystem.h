#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/Gb18030Codec.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/TempFolder.h"

namespace scourix {

// Every operation, for injected failures and the call log.
// clang-format off
enum class FsOp { Lookup, Inspect, OpenFolder, ReadFolder, FileLength, Remove, RemoveIf, Rename,
                  ResetAttributes, Probe, ReadLines, ReadText, ReplaceText, WriteText };
// clang-format on

// The real file system below a folder of the test's own that stands for "/" (so tests use
// paths such as "/data/a.tmp"). Any operation can fail on a given path, a folder can look
// like a view of the kernel or like a bind mount of another, and the places the program
// asks for (temporary, program and current folders, volumes) are the test's to set.
class FaultyFileSystem : public FileSystem {
public:
    FaultyFileSystem();

    std::vector<std::string> volumeList{"/"};
    // Paths a package installed, as the test names them.
    std::set<std::string> packageFiles;
    std::string temp = "/tmp/";
    std::string program = "/opt/scourix";
    std::string current = "/home/user";

    // Set-up; missing parent folders are made. Texts are written as the program writes
    // them, so that it reads them back as they were given. A folder marked read-only refuses
    // changes in it as the system refuses them to anyone but root.
    void addFolder(const std::string& path, bool readOnly = false) {
        std::error_code ignored;
        std::filesystem::create_directories(real(path), ignored);
        if (readOnly) {
            readOnlyFolders_.insert(normalize(path));
        }
    }
    void addFile(const std::string& path, const std::string& text = "", bool readOnly = false) {
        addFolder(parentOf(normalize(path)));
        test::TempFolder::write(real(path), Gb18030Codec::encode(text));
        ::chmod(real(path).c_str(), readOnly ? 0444 : 0644);
    }
    void addLink(const std::string& path, const std::string& target) {
        addFolder(parentOf(normalize(path)));
        const std::string to = target.starts_with('/') ? real(target) : target;
        made(::symlink(to.c_str(), real(path).c_str()), path);
    }
    void addSpecial(const std::string& path) {
        addFolder(parentOf(normalize(path)));
        made(::mkfifo(real(path).c_str(), 0644), path);
    }
    void setLength(const std::string& path, std::uint64_t length) {
        made(::truncate(real(path).c_str(), static_cast<off_t>(length)), path);
    }
    // The folder and everything below it look like a view of the kernel.
    void markVirtual(const std::string& path) { virtual_.insert(normalize(path)); }
    // The folder mountPoint shows source, its entries and its id, as a bind mount does.
    void bindMount(const std::string& mountPoint, const std::string& source) {
        binds_[normalize(mountPoint)] = normalize(source);
    }

    // The next `times` calls of op on path fail with error (every call with times < 0).
    void failOn(FsOp op, const std::string& path, Error error, int times = -1) {
        std::lock_guard lock(mutex_);
        failures_[{op, normalize(path)}] = {std::move(error), times};
    }
    void clearFailures() {
        std::lock_guard lock(mutex_);
        failures_.clear();
    }

    bool exists(const std::string& path) const {
        return std::filesystem::exists(std::filesystem::symlink_status(real(path)));
    }
    // A file without its owner's write permission.
    bool readOnly(const std::string& path) const {
        using std::filesystem::perms;
        return (std::filesystem::status(real(path)).permissions() & perms::owner_write) ==
               perms::none;
    }
    // The text of the file at path, as the program reads it.
    std::string content(const std::string& path) const {
        return real_.readText(real(path)).value();
    }

    // Every call in order, with the path as given (Rename: the source).
    mutable std::vector<std::pair<FsOp, std::string>> calls;
    int callCount(FsOp op) const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(std::ranges::count(calls, op, &decltype(calls)::value_type::first));
    }

    // Where a path of the test's lies on the real file system.
    std::string real(const std::string& path) const { return root_.path() + normalize(path); }
    static Error permissionDenied() { return {EACCES, "Permission denied"}; }

    // FileSystem: the real one below the root, after the log and the injected failures.
    Result<std::string> lookup(const std::string& p, Lookup filter) const override {
        return pass(FsOp::Lookup, p, [&] { return real_.lookup(real(p), filter); });
    }
    Result<std::string> lookupListed(const std::string& p, Lookup filter) const override {
        Result<std::string> found = lookup(p, filter);
        return found && packageFiles.contains(normalize(p)) ? std::string() : found;
    }
    bool packageOwned(const std::string& path) const override {
        return packageFiles.contains(path);
    }
    std::string realPath(const OpenFolder& folder) const override { return at(folder).path; }
    Result<std::uint64_t> fileLength(const std::string& p) const override {
        return pass(FsOp::FileLength, p, [&] { return real_.fileLength(real(p)); });
    }
    // A failure of a lookup fails this too; the real path is given as the test names it.
    Result<CheckedFile> checkedRegularFile(const std::string& p, std::size_t head) const override {
        Result<std::string> found = lookupListed(p, Lookup::WithHiddenAndSystem);
        if (!found || found.value().empty()) {
            return found ? Result<CheckedFile>(CheckedFile{}) : found.error();
        }
        Result<CheckedFile> checked = real_.checkedRegularFile(real(p), head);
        if (checked && checked.value().realPath.starts_with(root_.path() + "/")) {
            checked.value().realPath.erase(0, root_.path().size());
        }
        return checked;
    }
    void inspect(const std::vector<std::string_view>& paths, bool owners,
                 std::vector<Result<FileFacts>>& out) const override {
        std::vector<std::string> reals;
        for (std::string_view p : paths) {
            reals.push_back(real(std::string(p)));
        }
        real_.inspect({reals.begin(), reals.end()}, false, out);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (auto e = enter(FsOp::Inspect, std::string(paths[i]))) {
                out[i] = *e;
            } else if (out[i]) {
                out[i].value().packageOwned =
                    owners && packageFiles.contains(normalize(std::string(paths[i])));
            }
        }
    }
    Status removeFile(const std::string& p) override {
        return pass(FsOp::Remove, p, [&] { return real_.removeFile(real(p)); });
    }
    Result<bool> removeFileIf(const std::string& p, const WrittenFile& written) override {
        return pass(FsOp::RemoveIf, p, [&] { return real_.removeFileIf(real(p), written); });
    }
    Status renameNoReplace(const std::string& from, const std::string& to) override {
        return pass(FsOp::Rename, from, [&] {
            return refused(to) ? permissionDenied() : real_.renameNoReplace(real(from), real(to));
        });
    }
    Result<bool> resetAttributes(const std::string& p) override {
        return pass(FsOp::ResetAttributes, p, [&] { return real_.resetAttributes(real(p)); });
    }
    void holdFolders(bool hold) override { real_.holdFolders(hold); }
    Result<OpenFolderPtr> openFolder(const std::string& p) const override {
        return pass(FsOp::OpenFolder, p,
                    [&] { return track(real_.openFolder(real(p)), normalize(p)); });
    }
    Result<OpenFolderPtr> openSubfolder(const OpenFolder& parent,
                                        std::string_view name) const override {
        const std::string& above = at(parent).path;
        const std::string path = (above == "/" ? "" : above) + "/" + std::string(name);
        const auto bind = binds_.find(path);
        return pass(FsOp::OpenFolder, path, [&] {
            return track(bind != binds_.end() ? real_.openFolder(real(bind->second))
                                              : real_.openSubfolder(*at(parent).real, name),
                         path);
        });
    }
    Result<OpenFolderPtr> openParent(const OpenFolder& child) const override {
        return track(real_.openParent(*at(child).real), parentOf(at(child).path));
    }
    Status readFolder(const OpenFolder& folder, FolderVisitor& visitor) const override {
        return pass(FsOp::ReadFolder, at(folder).path,
                    [&] { return real_.readFolder(*at(folder).real, visitor); });
    }
    // Fails as fileLength does on the same path.
    Result<std::uint64_t> entryLength(const OpenFolder& folder,
                                      std::string_view name) const override {
        const std::string& above = at(folder).path;
        return pass(FsOp::FileLength, (above == "/" ? "" : above) + "/" + std::string(name),
                    [&] { return real_.entryLength(*at(folder).real, name); });
    }
    Result<std::string> entryHead(const OpenFolder& folder, std::string_view name,
                                  std::size_t count) const override {
        return real_.entryHead(*at(folder).real, name, count);
    }
    OpenFilesPtr openFiles() const override { return real_.openFiles(); }
    void refuseOpenFiles(OpenFilesPtr open) override { real_.refuseOpenFiles(std::move(open)); }
    std::string tempFolder() const override { return temp; }
    std::vector<std::string> volumes() const override { return volumeList; }
    Status probe(const std::string& p) const override {
        return pass(FsOp::Probe, p, [&] { return real_.probe(real(p)); });
    }
    std::string programFolder() const override { return program; }
    std::string currentFolder() const override { return current; }
    Result<std::vector<std::string>> readLines(const std::string& p,
                                               std::size_t maxLines) const override {
        return pass(FsOp::ReadLines, p, [&] { return real_.readLines(real(p), maxLines); });
    }
    Result<std::string> readText(const std::string& p) const override {
        return pass(FsOp::ReadText, p, [&] { return real_.readText(real(p)); });
    }
    Result<WrittenFilePtr> writeText(const std::string& p, const std::string& text) override {
        return pass(FsOp::WriteText, p, [&] { return real_.writeText(real(p), text); });
    }
    Status replaceText(const std::string& p, const std::string& text) override {
        return pass(FsOp::ReplaceText, p, [&] { return real_.replaceText(real(p), text); });
    }

private:
    // What the walk holds: the real folder, and the path of the test's it stands for.
    struct Tracked final : OpenFolder {
        OpenFolderPtr real;
        std::string path;
    };
    static const Tracked& at(const OpenFolder& f) { return static_cast<const Tracked&>(f); }
    static std::string parentOf(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
    static void made(int status, const std::string& path) {
        status == 0 ? void() : throw std::runtime_error("cannot make " + path);
    }
    // The absolute form of path without a final "/" ("/" stays).
    std::string normalize(const std::string& path) const {
        std::string out;
        for (char c : path.starts_with('/') ? path : current + "/" + path) {
            if (c != '/' || !out.ends_with('/')) {
                out += c;
            }
        }
        return out.size() > 1 && out.ends_with('/') ? out.substr(0, out.size() - 1) : out;
    }
    bool refused(const std::string& path) const {
        return readOnlyFolders_.contains(parentOf(normalize(path)));
    }
    // Logs the call and returns the failure due, if any; the walk calls from several threads.
    std::optional<Error> enter(FsOp op, const std::string& path) const {
        std::lock_guard lock(mutex_);
        calls.emplace_back(op, path);
        if ((op == FsOp::Remove || op == FsOp::RemoveIf || op == FsOp::Rename ||
             op == FsOp::ReplaceText || op == FsOp::WriteText) &&
            refused(path)) {
            return permissionDenied();
        }
        auto it = failures_.find({op, normalize(path)});
        if (it == failures_.end() || it->second.second == 0) {
            return std::nullopt;
        }
        it->second.second -= it->second.second > 0 ? 1 : 0;
        return it->second.first;
    }
    template <class F>
    auto pass(FsOp op, const std::string& path, F act) const -> decltype(act()) {
        const std::optional<Error> e = enter(op, path);
        return e ? decltype(act())(*e) : act();
    }
    Result<OpenFolderPtr> track(Result<OpenFolderPtr> opened, const std::string& path) const {
        if (!opened || !opened.value()) {
            return opened;
        }
        auto folder = std::make_unique<Tracked>();
        folder->id = opened.value()->id;
        folder->virtualFileSystem =
            opened.value()->virtualFileSystem || std::ranges::any_of(virtual_, [&](auto& v) {
                return path == v || path.starts_with(v == "/" ? v : v + "/");
            });
        folder->real = std::move(opened).value();
        folder->path = path;
        return OpenFolderPtr(std::move(folder));
    }

    test::TempFolder root_{"/dev/shm"};  // in memory where it can be: tests make many trees
    PosixFileSystem real_;
    std::set<std::string> virtual_;
    std::set<std::string> readOnlyFolders_;
    std::map<std::string, std::string> binds_;
    mutable std::map<std::pair<FsOp, std::string>, std::pair<Error, int>> failures_;
    mutable std::mutex mutex_;
};

}  // namespace scourix
