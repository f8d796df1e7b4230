#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavik {
namespace {

// Each test has its own runtime folder, which the helper copies inherit.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        m_previous = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void TearDown() override {
        for (auto& helper : m_helpers) {
            if (helper->state() != QProcess::NotRunning) {
                helper->kill();
                helper->waitForFinished(5000);
            }
        }
        qputenv("XDG_RUNTIME_DIR", m_previous);
    }

    QProcess* startHelper(const char* mode) {
        auto helper = std::make_unique<QProcess>();
        helper->start(QStringLiteral(TAVIK_SINGLE_INSTANCE_HELPER), {QString::fromLatin1(mode)});
        helper->waitForStarted(10000);
        m_helpers.push_back(std::move(helper));
        return m_helpers.back().get();
    }

    // waitForFinished() says false for a process that has already ended.
    static bool ended(QProcess& process) {
        return process.state() == QProcess::NotRunning || process.waitForFinished(20000);
    }

    static QByteArray readLine(QProcess& process) {
        QElapsedTimer waited;
        waited.start();
        while (!process.canReadLine() && waited.elapsed() < 20000 && process.state() == QProcess::Running)
            process.waitForReadyRead(100);
        return process.readLine().trimmed();
    }

    QTemporaryDir m_runtime;
    QByteArray m_previous;
    std::vector<std::unique_ptr<QProcess>> m_helpers;
};

TEST_F(SingleInstanceTest, SecondCopy_CannotAcquireAndActivatesTheRunningCopy) {
    QProcess* first = startHelper("first");
    ASSERT_EQ(readLine(*first), "ready");

    SingleInstance second;
    EXPECT_FALSE(second.tryAcquire());
    SingleInstance::activateRunningCopy();

    ASSERT_TRUE(ended(*first));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(first->readAll().trimmed(), "activated");
}

TEST_F(SingleInstanceTest, RunningCopyWithoutWindow_SecondEndsWithoutActivatingIt) {
    QProcess* first = startHelper("hold");
    ASSERT_EQ(readLine(*first), "ready");

    QProcess* second = startHelper("second");
    EXPECT_EQ(readLine(*second), "ended");
    ASSERT_TRUE(ended(*second));
    EXPECT_EQ(second->exitCode(), 1);

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_FALSE(first->canReadLine());
}

TEST_F(SingleInstanceTest, RunningCopy_KeepsItsLockHoweverOldTheFileIs) {
    ASSERT_EQ(readLine(*startHelper("hold")), "ready");
    QFile lock(SingleInstance::lockFilePath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    lock.close();

    SingleInstance second;
    EXPECT_FALSE(second.tryAcquire());
}

TEST_F(SingleInstanceTest, KilledCopy_LockAndSocketAreTakenOver) {
    QProcess* crashed = startHelper("first");
    ASSERT_EQ(readLine(*crashed), "ready");
    crashed->kill();  // SIGKILL: no chance to clean up
    ASSERT_TRUE(ended(*crashed));
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath()));
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::serverPath()));

    SingleInstance instance;
    ASSERT_TRUE(instance.tryAcquire());
    int activations = 0;
    ASSERT_TRUE(instance.listen([&] { ++activations; }));

    // Our own event loop must run while the second copy talks to us.
    QProcess* second = startHelper("second");
    QElapsedTimer waited;
    waited.start();
    while (activations == 0 && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(activations, 1);
    ASSERT_TRUE(ended(*second));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_EQ(second->readAll().trimmed(), "ended");
}

}  // namespace
}  // namespace tavik
