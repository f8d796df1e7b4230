#pragma once

#include "platform/clock.h"

namespace tavik {

// Makes Clock::today() give a fixed date while it lives.
class FixedClock {
public:
    explicit FixedClock(QDate date)
    {
        Clock::setStandIn([date] { return date; });
    }
    ~FixedClock() { Clock::setStandIn(nullptr); }
};

}  // namespace tavik
