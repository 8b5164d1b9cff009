#pragma once

#include "platform/Clock.h"

namespace scourix {

// The local date and time, in the time zone of the user's session.
class PosixClock final : public Clock {
public:
    DateTime now() const override;
};

}  // namespace scourix
