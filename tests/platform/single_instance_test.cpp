#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {

TEST(SingleInstance, SecondCopyActivatesTheRunningOneAndHandsItsFile_AndAKilledCopysLockIsTakenOver)
{
    // A file name may hold anything but "/" and NUL; a relative one is the second copy's.
    const QString file = QStringLiteral("買い物 リスト\n%41.lst");
    for (const QString& handed : {QString(), file}) {
        QProcess first;
        first.start(QStringLiteral(TAVIK_SINGLE_INSTANCE_HELPER));
        ASSERT_TRUE(first.waitForReadyRead(20000));
        ASSERT_EQ(first.readLine().trimmed(), "ready");
        SingleInstance second;
        EXPECT_FALSE(second.tryAcquire());
        SingleInstance::activateRunningCopy(handed);
        first.waitForFinished(20000);
        const QString expected = handed.isEmpty() ? QStringLiteral("activated")
                                                  : QStringLiteral("activated ") + QDir::current().filePath(file);
        EXPECT_EQ(QString::fromUtf8(first.readAll().trimmed()), expected);
    }

    QProcess killed;
    killed.start(QStringLiteral(TAVIK_SINGLE_INSTANCE_HELPER));
    ASSERT_TRUE(killed.waitForReadyRead(20000));
    killed.kill();  // SIGKILL: no chance to clean up
    killed.waitForFinished(20000);
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath()));
    SingleInstance next;
    EXPECT_TRUE(next.tryAcquire());
    EXPECT_TRUE(next.listen([](const QString&) {}));
}

// Anything that connects to the running copy's socket is not a second start: only a
// whole request, with an absolute path if any, brings the window forward.
TEST(SingleInstance, OnlyAWholeRequestBringsTheRunningCopyForward)
{
    SingleInstance running;
    int activations = 0;
    ASSERT_TRUE(running.listen([&](const QString&) { ++activations; }));
    const auto send = [](const QByteArray& message) {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverPath());
        ASSERT_TRUE(socket.waitForConnected(5000));
        socket.write(message);
        socket.flush();
        QTest::qWait(100);
        socket.disconnectFromServer();
    };
    for (const QByteArray& other :
        {QByteArray("show\n"), QByteArray("activate"), QByteArray("activate now\n"), QByteArray("activateactivate\n"),
            QByteArray("activate /a b\n"), QByteArray("activate /a%00b\n"), QByteArray(4096, 'a')})
        send(other);
    QTest::qWait(100);
    EXPECT_EQ(activations, 0);
    send("activate\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));
}

}  // namespace tavik
