#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/UniqueFd.h"
#include "platform/posix/VirtualFileSystems.h"

namespace scourix {

// A folder open for reading during a walk.
class PosixFolder final : public OpenFolder {
public:
    // Opens the folder `name` inside the folder open as dir, never through a link: null
    // when name is not a folder (any more). parent, when given, is the folder dir stands
    // for; a folder on its device inherits its kind of file system.
    static Result<OpenFolderPtr> open(int dir, const char* name, const OpenFolder* parent,
                                      VirtualFileSystems& virtuals);

    int fd() const { return fd_.get(); }

    // Hands every entry but "." and ".." to the visitor, in the order the file system
    // keeps them.
    Status read(FolderVisitor& visitor) const;

private:
    UniqueFd fd_;
};

}  // namespace scourix
