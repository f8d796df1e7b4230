#include "platform/window_timers.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <map>

namespace tavik {
namespace {

TEST(WindowTimers, ATimerFiresOncePerPeriodUntilKilled) {
    std::map<int, int> fired;
    WindowTimers timers([&fired](int id) { ++fired[id]; });

    timers.setTimer(7, 10);
    EXPECT_TRUE(timers.isActive(7));
    QTRY_VERIFY_WITH_TIMEOUT(fired[7] >= 3, 5000);

    EXPECT_TRUE(timers.killTimer(7));
    EXPECT_FALSE(timers.isActive(7));
    const int afterKill = fired[7];
    QTest::qWait(100);
    EXPECT_EQ(fired[7], afterKill);
    EXPECT_FALSE(timers.killTimer(7)) << "killing it twice";
    EXPECT_FALSE(timers.killTimer(8)) << "an id never set";
}

TEST(WindowTimers, ATimerKilledInItsCallback_RunsOnce_WhileOthersGoOn) {
    std::map<int, int> fired;
    WindowTimers* self = nullptr;
    WindowTimers timers([&](int id) {
        ++fired[id];
        if (id == 3000)
            self->killTimer(id);
    });
    self = &timers;

    timers.setTimer(3000, 10);
    timers.setTimer(5000, 10);
    QTRY_VERIFY_WITH_TIMEOUT(fired[5000] >= 5, 5000);

    EXPECT_EQ(fired[3000], 1);
}

TEST(WindowTimers, SettingARunningTimerAgain_RestartsItWithTheNewPeriod) {
    int fired = 0;
    WindowTimers timers([&fired](int) { ++fired; });

    timers.setTimer(5000, 60 * 60 * 1000);
    timers.setTimer(5000, 10);

    QTRY_VERIFY_WITH_TIMEOUT(fired >= 1, 5000);
}

}  // namespace
}  // namespace tavik
