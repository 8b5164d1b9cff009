#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace scourix {

// Which files a lookup admits. A file is hidden when its name begins with "."; it is a
// system file when it is neither a regular file nor a symbolic link (device, socket,
// FIFO). Folders are never found by a lookup.
enum class Lookup {
    Ordinary,             // hidden and system files count as absent
    WithHidden,           // hidden files admitted, system files absent
    WithHiddenAndSystem,  // anything that is not a folder, links included
};

// Where a file lives: its device and inode numbers.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
};

enum class EntryKind : unsigned char { Folder, File, Link, Special };

// The files that running processes hold open, as one look found them: every process's as
// root, otherwise one's own processes' (which covers one's own files).
class OpenFiles {
public:
    virtual ~OpenFiles() = default;
    virtual bool holds(const FileId& id) const = 0;
};
using OpenFilesPtr = std::shared_ptr<const OpenFiles>;

// What a look at one path found: the kind and length of the entry there, and whether an
// installed package owns it.
struct FileFacts {
    EntryKind kind = EntryKind::File;
    std::uint64_t length = 0;
    bool packageOwned = false;
    // Seconds since the epoch: the last change of the contents, and of the entry itself
    // (a rename sets it). The device the entry lives on.
    std::int64_t mtime = 0;
    std::int64_t ctime = 0;
    std::uint64_t device = 0;
};

// Receives a folder's entries as they are read: every name but "." and "..", its exact
// bytes valid only during the call. Folders are real folders, never links to one.
class FolderVisitor {
public:
    virtual void entry(std::string_view name, EntryKind kind) = 0;

protected:
    ~FolderVisitor() = default;
};

// A folder held open while a walk needs it: its subfolders are opened relative to it, so
// a link put in place of a folder above it later cannot lead the walk elsewhere.
class OpenFolder {
public:
    virtual ~OpenFolder() = default;

    FileId id;
    bool virtualFileSystem = false;  // proc, sysfs and the like: never entered
};
using OpenFolderPtr = std::unique_ptr<OpenFolder>;

// A file this program wrote, kept hold of until the program no longer needs to know it:
// while it is held, no other file can take its identity (a device and inode number freed
// by a deletion are soon given to the next new file).
class WrittenFile {
public:
    virtual ~WrittenFile() = default;
};
using WrittenFilePtr = std::shared_ptr<const WrittenFile>;

// A listed regular file as the desktop is to be given it. The desktop's openers take only
// paths, so this is the path read back from the descriptor that was checked: from "/",
// without links, "." or "..", so that no other user's link is left in it.
struct CheckedFile {
    std::string realPath;  // "" when there is no such file to give
    std::string head;      // its first bytes, for telling its type
};

// Paths are byte strings holding the native bytes. Every path is reached one component at
// a time from "/" (or the current folder): a symbolic link on the way is followed only
// when it belongs to the system or to the user running the program; another user's link
// fails as "Permission denied". Texts read and written through here are UTF-8 in memory
// and GB18030 with CR LF line ends on disk.
// The walk operations may be called from several threads at once.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The name part of the file at path when one is admitted by the filter, "" when none.
    virtual Result<std::string> lookup(const std::string& path, Lookup filter) const = 0;
    // The same for a file a scan listed, where a file that an installed package owns is a
    // system file of another kind: the system needs it, so it is never found.
    virtual Result<std::string> lookupListed(const std::string& path, Lookup filter) const = 0;
    // Whether an installed package owns the file at path, a real path (as realPath gives,
    // with a name after it).
    virtual bool packageOwned(const std::string& path) const = 0;
    // The real path of an open folder: from "/", without links, "." or "..".
    virtual std::string realPath(const OpenFolder& folder) const = 0;
    virtual Result<std::uint64_t> fileLength(const std::string& path) const = 0;
    // The file a scan listed at path, a link followed by the rule for links, when it is a
    // regular file that no installed package owns, with up to headBytes of its content;
    // "" as the real path when it is gone or anything else. The content is read only from
    // the very file that was checked, never from whatever replaced it.
    virtual Result<CheckedFile> checkedRegularFile(const std::string& path,
                                                   std::size_t headBytes) const = 0;

    // Deletes the file or link at path; refuses a file without owner write permission.
    virtual Status removeFile(const std::string& path) = 0;
    // Deletes the file at path only if it is still the file written. True when deleted,
    // false when another file or none is there.
    virtual Result<bool> removeFileIf(const std::string& path, const WrittenFile& written) = 0;
    // Renames without ever replacing an existing file.
    virtual Status renameNoReplace(const std::string& from, const std::string& to) = 0;
    // Clears read-only on a file that can be opened for reading, without following links.
    // False, with nothing changed, when the file cannot be opened (gone, access refused)
    // or is not a regular file; an error only when the change itself failed.
    virtual Result<bool> resetAttributes(const std::string& path) = 0;

    // Looks at many paths at once, as lookupListed and fileLength would at each, without
    // following the last component: out[i] for paths[i], an error where there is no entry
    // ("No such file or directory" too). Paths in walk order reach each folder once, and a
    // path given twice is looked at once. The package database is asked only with owners.
    // Safe to call from several threads at once.
    virtual void inspect(const std::vector<std::string_view>& paths, bool owners,
                         std::vector<Result<FileFacts>>& out) const = 0;

    // While held, the folders that the calls above reach stay open for the next call, so a
    // run of paths in one folder reaches it once. Released, they are closed, so that no
    // volume is kept busy between commands.
    virtual void holdFolders(bool hold) { (void)hold; }

    // One look at the files that running processes hold open; null where the system
    // cannot tell.
    virtual OpenFilesPtr openFiles() const { return nullptr; }
    // While set, removeFile and renameNoReplace refuse a file that `open` holds with the
    // system's EBUSY error, and leave it as it is: deleting or moving a file that a program
    // is writing loses its data. Null lifts the refusal.
    virtual void refuseOpenFiles(OpenFilesPtr open) { (void)open; }

    // Opens the folder at path to walk it; a location typed through the user's own link
    // is followed.
    virtual Result<OpenFolderPtr> openFolder(const std::string& path) const = 0;
    // Opens a subfolder, never through a link: null when name is no longer a folder.
    virtual Result<OpenFolderPtr> openSubfolder(const OpenFolder& parent,
                                                std::string_view name) const = 0;
    // Opens the folder above an open folder again, for a walk that closed it meanwhile.
    virtual Result<OpenFolderPtr> openParent(const OpenFolder& child) const = 0;
    // Reads every entry of an open folder.
    virtual Status readFolder(const OpenFolder& folder, FolderVisitor& visitor) const = 0;
    // The length of the entry name in an open folder, without following a link: a walk's
    // look at a file it lists, made while it has the folder open.
    virtual Result<std::uint64_t> entryLength(const OpenFolder& folder,
                                              std::string_view name) const = 0;
    // Up to count bytes from the start of the ordinary file name in an open folder, never
    // through a link; a file of another kind reads as no bytes. Safe from several threads.
    virtual Result<std::string> entryHead(const OpenFolder& folder, std::string_view name,
                                          std::size_t count) const {
        (void)folder, (void)name, (void)count;
        return std::string();
    }

    // The temporary folder, ending in "/".
    virtual std::string tempFolder() const = 0;
    // "/" and the mount points of real storage volumes, each ending in "/".
    virtual std::vector<std::string> volumes() const = 0;
    // A read of the folder's listing; fails when the volume cannot be read.
    virtual Status probe(const std::string& path) const = 0;

    // The folder of the running executable, without a final "/".
    virtual std::string programFolder() const = 0;
    // The user's own folder for the program's settings ($XDG_CONFIG_HOME/scourix, else
    // ~/.config/scourix, where these folders are the effective user's own; else that
    // user's home from the password database), without a final "/"; "" when there is none.
    virtual std::string userConfigFolder() const { return {}; }
    // Whether a new file can be created in folder now.
    virtual bool canWriteIn(const std::string& folder) const {
        (void)folder;
        return true;
    }
    // Creates folder and any missing folders above it.
    virtual Status makeFolders(const std::string& folder) {
        (void)folder;
        return {};
    }
    virtual std::string currentFolder() const = 0;

    // Text files, read only when they are regular files of a sane size: lines without
    // their line ends, empty lines included. A file of more than maxLines lines is not
    // read ("File too large").
    virtual Result<std::vector<std::string>> readLines(const std::string& path,
                                                       std::size_t maxLines) const = 0;
    virtual Result<std::string> readText(const std::string& path) const = 0;
    // Writes text to a new file at path and returns a hold on it. A leftover of this
    // user's own (a regular file of theirs with no other link) is replaced; anything else
    // of that name makes it fail, so no existing file is ever written into. A file left
    // half written is removed.
    virtual Result<WrittenFilePtr> writeText(const std::string& path, const std::string& text) = 0;
    // Writes a temporary file beside path and renames it over path only when the whole
    // text was written: a failure leaves the previous file whole. A file without owner
    // write permission is not replaced.
    virtual Status replaceText(const std::string& path, const std::string& text) = 0;
};

// Holds the file system's folders open for the life of a command's loop.
// For one command: the files held open when it starts are refused until it ends. The look
// is taken once for all the command's files, not once per file.
class OpenFilesRefused {
public:
    explicit OpenFilesRefused(FileSystem& fs) : fs_(fs) { fs_.refuseOpenFiles(fs_.openFiles()); }
    ~OpenFilesRefused() { fs_.refuseOpenFiles(nullptr); }
    OpenFilesRefused(const OpenFilesRefused&) = delete;
    OpenFilesRefused& operator=(const OpenFilesRefused&) = delete;

private:
    FileSystem& fs_;
};

class HeldFolders {
public:
    explicit HeldFolders(FileSystem& fs) : fs_(fs) { fs_.holdFolders(true); }
    ~HeldFolders() { fs_.holdFolders(false); }
    HeldFolders(const HeldFolders&) = delete;
    HeldFolders& operator=(const HeldFolders&) = delete;

private:
    FileSystem& fs_;
};

}  // namespace scourix
