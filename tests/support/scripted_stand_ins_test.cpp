#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/process_launcher.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_launcher.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(ScriptedMessageBoxes, AnswersInOrderAndRecordsEveryText) {
    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Yes).expect(MessageAnswer::Cancel, QStringLiteral("二つ目"));

    EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("一つ目"), MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("二つ目"), MessageButtons::OkCancel), MessageAnswer::Cancel);
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("一つ目"), QStringLiteral("二つ目")}));
}

TEST(ScriptedMessageBoxes, WhatTheScriptDidNotSay_FailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("x"), MessageButtons::YesNo), MessageAnswer::No);
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.expect(MessageAnswer::Ok, QStringLiteral("expected"));
            MessageBox::show(nullptr, QStringLiteral("other"));
        },
        "expected \"expected\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.expect(MessageAnswer::Yes);
            EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("x"), MessageButtons::OkCancel), MessageAnswer::Cancel);
        },
        "has no button Yes");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.expect(MessageAnswer::Ok);
        },
        "never came");
}

TEST(ScriptedLauncher, WhatTheScriptDidNotSay_FailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedLauncher launcher;
            EXPECT_FALSE(ProcessLauncher::start(QStringLiteral("\\a.exe")));
        },
        "unexpected program start");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedLauncher launcher;
            launcher.expectStart(QStringLiteral("\\a.exe"));
            ProcessLauncher::start(QStringLiteral("\\b.exe"));
        },
        "expected start \"\\a.exe\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedLauncher launcher;
            ProcessLauncher::shellOpen(QStringLiteral("x"));
        },
        "unexpected shell open");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedLauncher launcher;
            launcher.expectShellOpen(QStringLiteral("x"));
        },
        "never came");
}

TEST(FixedClock, FixesTodayWhileItLives) {
    {
        FixedClock clock(QDate(2009, 2, 28));
        EXPECT_EQ(Clock::today(), QDate(2009, 2, 28));
        clock.set(QDate(2009, 3, 1));
        EXPECT_EQ(Clock::today(), QDate(2009, 3, 1));
    }
    EXPECT_EQ(Clock::today(), QDate::currentDate());
}

TEST(TemporaryDeviceRoot, PointsTheRootAwayAndBack) {
    const QByteArray before = qgetenv("TAVIK_ROOT");
    {
        TemporaryDeviceRoot root;
        ASSERT_TRUE(root.isValid());
        EXPECT_EQ(qEnvironmentVariable("TAVIK_ROOT"), root.hostPath());
        root.writeFile(QStringLiteral("a/b.lst"), "x");
        EXPECT_EQ(root.readFile(QStringLiteral("a/b.lst")), QByteArray("x"));
    }
    EXPECT_EQ(qgetenv("TAVIK_ROOT"), before);
}

}  // namespace
}  // namespace tavik
