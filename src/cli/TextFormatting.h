#pragma once

#include <initializer_list>
#include <string>

namespace scourix {

// A translated text with "%1", "%2"... replaced by the values, in any order the
// translation puts them.
std::string substitute(const std::string& text, std::initializer_list<std::string> values);

}  // namespace scourix
