#pragma once

#include "platform/clock.h"

namespace tavik {

// Makes Clock::today() give a fixed date while it lives.
class FixedClock {
public:
    explicit FixedClock(QDate date)
    {
        Clock::standIn.set([date] { return date; });
    }
    ~FixedClock() { Clock::standIn.set(nullptr); }
};

}  // namespace tavik
