#pragma once

#include <string>
#include <string_view>

namespace scourix {

// The list format's escapes, in both directions: "\\", "\n", "\r", "\t", "\xHH" for other
// control bytes and bytes that are not part of a UTF-8 character, "\uHHHH" and
// "\UHHHHHHHH" for C1 controls, line and paragraph separators and invisible format
// characters. Every escaped text names exactly one name, and decodes back to it.
std::string escapeName(std::string_view name);
// A backslash that begins no escape stands for itself.
std::string unescapeName(std::string_view text);

}  // namespace scourix
