#pragma once

#include <string_view>

namespace scourix {

// The order of names within one folder: without regard to case, then by the exact bytes,
// so that a scan's results never depend on the order the file system keeps.
bool nameLess(std::string_view a, std::string_view b);

}  // namespace scourix
