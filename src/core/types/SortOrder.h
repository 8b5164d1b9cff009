#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CheckList.h"

namespace scourix {

// The order of the sorted pattern list: case-insensitive, "-" and "'" passed over unless
// they alone tell two texts apart, punctuation before digits, digits before letters, and
// every other character (CJK and the like) after the letters. Texts are UTF-8; a byte that
// is not valid UTF-8 sorts with the other characters. The order is total: two texts compare
// equal only when their bytes are the same.
class SortOrder {
public:
    // Negative, zero or positive as a sorts before, with or after b.
    static int compare(std::string_view a, std::string_view b);
    static bool less(std::string_view a, std::string_view b) { return compare(a, b) < 0; }

    // The index at which text goes into a sorted list: after every entry not greater than it.
    static std::size_t insertionIndex(const CheckList& list, std::string_view text);
    // Inserts text unticked at its sorted place and returns its index.
    static std::size_t insertSorted(CheckList& list, std::string text);
};

}  // namespace scourix
