#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scourix {

// The path of a file in the program's own folder.
std::string programFile(const FileSystem& fs, std::string_view name);

}  // namespace scourix
