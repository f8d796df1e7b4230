#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(Clipboard, SetText_ReadsBackUnchanged) {
    const QString texts[] = {
        QStringLiteral("Buy milk\r\n 2 l\r\n low fat\r\n"),
        QStringLiteral("牛乳を買う"),
        QStringLiteral("a\nb\rc"),
    };
    for (const QString& text : texts) {
        Clipboard::setText(text);
        EXPECT_TRUE(Clipboard::hasText());
        EXPECT_EQ(Clipboard::text(), text);
    }
}

TEST(Clipboard, Cleared_HoldsNoText) {
    Clipboard::setText(QStringLiteral("x"));
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Clipboard::hasText());
    EXPECT_EQ(Clipboard::text(), QString());
}

}  // namespace
}  // namespace tavik
