#pragma once

#include <span>
#include <string_view>

namespace scourix {

// The leftovers that Linux tools write: editor and tool backups, patch leftovers, Python
// bytecode, core dumps, editor swap files and partial downloads. Files an administrator
// decides on (package configuration leftovers, logs) are not among them. Both the window
// and the command line add this set; the built-in list stays as it is.
std::span<const std::string_view> linuxTypes();

// Whether a file that the pattern matches counts only when its content is an ELF core
// file: "core" and "core.*" are also the names of source files and of programs' data.
bool needsCoreCheck(std::string_view pattern);

// The bytes a core check reads from the start of a file.
inline constexpr std::size_t kElfHeadBytes = 18;

// Whether head, the first bytes of a file, is the header of an ELF core file.
bool isElfCore(std::string_view head);

}  // namespace scourix
