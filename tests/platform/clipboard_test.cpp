#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace tavik {
namespace {

// Other Linux programs show a CR as "^M": the system clipboard holds LF line ends, while the
// program puts and takes CR LF, whatever another program put there.
TEST(Clipboard, HoldsLineFeedsOnTheSystemClipboard_AndCrLfOnTheProgramSide)
{
    const QString text = QStringLiteral("○牛乳\r\n 低脂肪 &amp; ～\r\n");
    Clipboard::setText(text);
    EXPECT_TRUE(Clipboard::hasText());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("○牛乳\n 低脂肪 &amp; ～\n"));
    EXPECT_EQ(Clipboard::text(), text);

    QGuiApplication::clipboard()->setText(QStringLiteral("卵\nパン\r\nバター"));
    EXPECT_EQ(Clipboard::text(), QStringLiteral("卵\r\nパン\r\nバター"));
}

}  // namespace
}  // namespace tavik
