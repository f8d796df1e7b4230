#include "tests/support/fixed_clock.h"

#include "platform/clock.h"

namespace tavik {

FixedClock::FixedClock(QDate date) : m_date(date) {
    Clock::setStandIn([this] { return m_date; });
}

FixedClock::~FixedClock() {
    Clock::setStandIn(nullptr);
}

}  // namespace tavik
