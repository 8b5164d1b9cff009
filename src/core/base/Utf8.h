#pragma once

#include <cstddef>
#include <string_view>

namespace scourix::utf8 {

// Decodes the character at text[i] and advances i past it. A byte that does not begin a
// valid, shortest-form sequence stands for itself as U+DC80 + (byte - 0x80), so that
// names that are not valid UTF-8 still compare and match by their exact bytes.
char32_t next(std::string_view text, std::size_t& i);

// True when c stands for a raw byte of invalid input.
inline bool isRawByte(char32_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

// True when cp is a letter of the scripts whose case is folded (Latin, Greek, Cyrillic);
// lower receives its folded form (as foldCase gives it) and upper says whether cp itself is
// a capital.
bool foldLetter(char32_t cp, char32_t& lower, bool& upper);

// Unicode's simple case folding of c, but that the dotted capital I folds to "i" (see
// scripts/case-folding.py for the exceptions and why); a character without one is
// returned unchanged.
char32_t foldCase(char32_t c);

}  // namespace scourix::utf8
