#include "platform/clipboard.h"

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

}  // namespace
}  // namespace tavik
