#pragma once

#include <cstdint>
#include <string>
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

struct FolderEntry {
    std::string name;       // exact bytes
    bool isFolder = false;  // a real folder, never a link to one
    bool hidden = false;
    bool system = false;
};

// One read of a folder: its own form of the path and every entry in it.
struct FolderListing {
    std::string path;  // as the lister reports it
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool virtualFileSystem = false;  // proc, sysfs and the like: never entered
    std::vector<FolderEntry> entries;
};

// Paths are byte strings holding the native bytes. Texts read and written through here
// are UTF-8 in memory and GB18030 with CR LF line ends on disk.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The name part of the file at path when one is admitted by the filter, "" when none.
    virtual Result<std::string> lookup(const std::string& path, Lookup filter) const = 0;
    virtual Result<FolderListing> listFolder(const std::string& path) const = 0;
    virtual Result<std::uint64_t> fileLength(const std::string& path) const = 0;

    // Deletes the file or link at path; refuses a file without owner write permission.
    virtual Status removeFile(const std::string& path) = 0;
    // Renames without ever replacing an existing file.
    virtual Status renameNoReplace(const std::string& from, const std::string& to) = 0;
    // Clears read-only on a file that can be opened for reading, without following links.
    // False, with nothing changed, when the file cannot be opened (gone, access refused)
    // or is not a regular file; an error only when the change itself failed.
    virtual Result<bool> resetAttributes(const std::string& path) = 0;

    // The temporary folder, ending in "/".
    virtual std::string tempFolder() const = 0;
    // "/" and the mount points of real storage volumes, each ending in "/".
    virtual std::vector<std::string> volumes() const = 0;
    // A read of the folder's listing; fails when the volume cannot be read.
    virtual Status probe(const std::string& path) const = 0;

    // The folder of the running executable, without a final "/".
    virtual std::string programFolder() const = 0;
    // The user's own folder for the program's settings ($XDG_CONFIG_HOME/scourix, else
    // ~/.config/scourix), without a final "/"; "" when there is none.
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

    // Text files: lines without their line ends, empty lines included.
    virtual Result<std::vector<std::string>> readLines(const std::string& path) const = 0;
    virtual Result<std::string> readText(const std::string& path) const = 0;
    // Creates or truncates path and writes text; a file left half written is removed.
    virtual Status writeText(const std::string& path, const std::string& text) = 0;
    // Writes a temporary file beside path and renames it over path only when the whole
    // text was written: a failure leaves the previous file whole.
    virtual Status replaceText(const std::string& path, const std::string& text) = 0;
};

}  // namespace scourix
