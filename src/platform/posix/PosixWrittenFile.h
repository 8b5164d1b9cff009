#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/UniqueFd.h"

namespace scourix {

// A file the program wrote, held open so that its inode cannot pass to another file.
class PosixWrittenFile final : public WrittenFile {
public:
    UniqueFd fd;
};

}  // namespace scourix
