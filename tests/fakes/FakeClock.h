#pragma once

#include "platform/Clock.h"

namespace scourix {

// A clock that shows whatever time the test sets.
class FakeClock : public Clock {
public:
    DateTime time{2026, 12, 5, 22, 30, 15};

    DateTime now() const override { return time; }
};

}  // namespace scourix
