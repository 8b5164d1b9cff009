#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scourix {

// The 43 junk patterns the program ships with, in the list's sorted order. The window has
// them in lstPat, unticked, when it is created; restoring the built-in list brings them back.
std::span<const std::string_view> builtInTypes();

// The built-in list as TypeList.ini holds it, every pattern ticked.
std::string builtInTypeList();

}  // namespace scourix
