#include "platform/single_instance.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace tavik {

TEST(SingleInstance, SecondCopyActivatesTheRunningOne_AndAKilledCopysLockIsTakenOver)
{
    QProcess first, killed;
    first.start(QStringLiteral(TAVIK_SINGLE_INSTANCE_HELPER));
    ASSERT_TRUE(first.waitForReadyRead(20000));
    ASSERT_EQ(first.readLine().trimmed(), "ready");
    SingleInstance second;
    EXPECT_FALSE(second.tryAcquire());
    SingleInstance::activateRunningCopy();
    first.waitForFinished(20000);
    EXPECT_EQ(first.readAll().trimmed(), "activated");

    killed.start(QStringLiteral(TAVIK_SINGLE_INSTANCE_HELPER));
    ASSERT_TRUE(killed.waitForReadyRead(20000));
    killed.kill();  // SIGKILL: no chance to clean up
    killed.waitForFinished(20000);
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath()));
    SingleInstance next;
    EXPECT_TRUE(next.tryAcquire());
    EXPECT_TRUE(next.listen([] {}));
}

}  // namespace tavik
