#pragma once

#include "platform/Result.h"

namespace scourix {

// The failure that errno value `code` stands for, with the system's description in the
// user's language (the locale the program chose at start), as UTF-8.
Error systemError(int code);

// The same for the current value of errno.
Error lastSystemError();

}  // namespace scourix
