#pragma once

#include <string>

namespace scourix {

// The manual page in the language in use, made from the command and option tables.
std::string manPage();

// The bash completion script, made from the same tables.
std::string bashCompletion();

}  // namespace scourix
