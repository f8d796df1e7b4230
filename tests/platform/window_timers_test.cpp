#include "platform/window_timers.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {

TEST(WindowTimers, ATimerRepeatsUntilKilled_EvenFromItsOwnCallback)
{
    std::map<int, int> fired;
    WindowTimers* timers = nullptr;
    WindowTimers owned([&](int id) {
        if (++fired[id] == 3 && id == 1)
            timers->killTimer(1);
    });
    timers = &owned;
    owned.setTimer(1, 10);
    owned.setTimer(2, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired[2] >= 6; }, 5000));
    EXPECT_EQ(fired[1], 3);
    EXPECT_FALSE(owned.isActive(1));
    EXPECT_TRUE(owned.killTimer(2));
    EXPECT_FALSE(owned.killTimer(2)) << "killed already";
}

}  // namespace tavik
