#include "platform/clipboard.h"
#include "tests/support/fixed_clock.h"

#include <QDate>

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(Clipboard, TextRoundTripsThroughTheSystemClipboard)
{
    const QString text = QStringLiteral("○牛乳\r\n 低脂肪 &amp; ～");
    Clipboard::setText(text);
    EXPECT_TRUE(Clipboard::hasText());
    EXPECT_EQ(Clipboard::text(), text);
}

TEST(Clock, TodayIsTheLocalDateUnlessATestFixesIt)
{
    EXPECT_EQ(Clock::today(), QDate::currentDate());
    {
        FixedClock fixed(QDate(2002, 12, 23));
        EXPECT_EQ(Clock::today(), QDate(2002, 12, 23));
    }
    EXPECT_EQ(Clock::today(), QDate::currentDate());
}

}  // namespace
}  // namespace tavik
