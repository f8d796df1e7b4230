#include "platform/single_instance.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest/QTest>

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

// Anything that connects to the running copy's socket is not a second start: only the
// activation request, whole, brings the window forward.
TEST(SingleInstance, OnlyTheWholeActivationRequestBringsTheRunningCopyForward)
{
    SingleInstance running;
    int activations = 0;
    ASSERT_TRUE(running.listen([&] { ++activations; }));
    const auto send = [](const QByteArray& message) {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverPath());
        ASSERT_TRUE(socket.waitForConnected(5000));
        socket.write(message);
        socket.flush();
        QTest::qWait(100);
        socket.disconnectFromServer();
    };
    for (const QByteArray& other : {QByteArray("show\n"), QByteArray("activate"), QByteArray("activate now\n"),
             QByteArray("activateactivate\n"), QByteArray(4096, 'a')})
        send(other);
    QTest::qWait(100);
    EXPECT_EQ(activations, 0);
    send("activate\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));
}

}  // namespace tavik
