#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace scourix {

// "12-05-2026": two-digit month and day, four-digit year, joined by hyphens.
std::string formatDate(const DateTime& t);
// "22:30:07" on the 24-hour clock.
std::string formatTime(const DateTime& t);
// "12-05-2026 22:30:07".
std::string formatDateTime(const DateTime& t);

// Groups the digits by three with "," ("###,###,###,###,##0"): 0 for zero.
std::string formatGrouped(std::uint64_t n);

// The number of characters (code points) of a UTF-8 text; a byte that is not part of a
// valid sequence counts as one character.
std::size_t characterCount(std::string_view text);

}  // namespace scourix
