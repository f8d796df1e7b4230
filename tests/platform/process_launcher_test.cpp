#include "platform/process_launcher.h"

#include "platform/device_path.h"
#include "tests/support/temporary_device_root.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(ProcessLauncher, SplitCommandLine_FollowsTheWindowsRules) {
    const struct {
        const char* line;
        QStringList arguments;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        {"\"\\MY DOCUMENTS\\A.BMP\"", {"\\MY DOCUMENTS\\A.BMP"}},
        {"\"two words\" x", {"two words", "x"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"unterminated quote", {"unterminated quote"}},
        {"\\\\server\\share", {"\\\\server\\share"}},
        {"a\\\\\"b c\"", {"a\\b c"}},          // 2 backslashes + quote: one backslash, quote groups
        {"a\\\"b", {"a\"b"}},                  // 1 backslash + quote: literal quote
        {"a\\\\\\\"b", {"a\\\"b"}},            // 3 backslashes + quote: one backslash, literal quote
        {"\"a\"\"b\" c", {"a\"b", "c"}},       // "" inside quotes: literal quote
        {"\"trailing\\\\\"", {"trailing\\"}},
        {"日本 \"語 です\"", {"日本", "語 です"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ProcessLauncher::splitCommandLine(QString::fromUtf8(c.line)), c.arguments);
    }
}

class ProcessLauncherTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }
    void TearDown() override { DevicePath::setBundledProgramFiles(QString()); }

    void makeProgram(const QString& hostPath, const QByteArray& script, QFileDevice::Permissions permissions) {
        QFile file(hostPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        ASSERT_TRUE(QFile::setPermissions(hostPath, permissions));
    }

    TemporaryDeviceRoot m_root;
};

constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kNotExecutable = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

TEST_F(ProcessLauncherTest, Start_WhatCannotRun_FailsWithAReason) {
    m_root.makeFolder(QStringLiteral("Programs/Folder.exe"));
    makeProgram(m_root.hostPath(QStringLiteral("Programs/text.exe")), "#!/bin/sh\n", kNotExecutable);
    for (const char* application : {"\\Programs\\missing.exe", "\\Programs\\text.exe", "\\Programs\\Folder.exe",
                                    "\\Programs\\..\\Programs\\text.exe", ""}) {
        SCOPED_TRACE(application);
        const Outcome started = ProcessLauncher::start(QString::fromUtf8(application));
        EXPECT_FALSE(started);
        EXPECT_FALSE(started.reason.isEmpty());
    }
}

TEST_F(ProcessLauncherTest, Start_RunsTheBundledProgramWithDevicePathArgumentsMapped) {
    QTemporaryDir bundled;
    ASSERT_TRUE(bundled.isValid());
    ASSERT_TRUE(QDir().mkpath(bundled.filePath(QStringLiteral("Vantra"))));
    // Writes its arguments one per line to the file named by the first, atomically.
    makeProgram(bundled.filePath(QStringLiteral("Vantra/Drawbo.exe")),
                "#!/bin/sh\nout=\"$1\"\nshift\nprintf '%s\\n' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out\"\n",
                kExecutable);
    DevicePath::setBundledProgramFiles(bundled.path());
    m_root.writeFile(QStringLiteral("My Documents/A.bmp"), "bmp");
    m_root.makeFolder(QStringLiteral("Out"));

    const Outcome started = ProcessLauncher::start(
        QStringLiteral("\\PROGRAM FILES\\VANTRA\\DRAWBO.EXE"),
        QStringLiteral("\\out\\args.txt \"\\MY DOCUMENTS\\A.BMP\" \"two words\" \\Nowhere\\x plain"));
    ASSERT_TRUE(started) << started.reason.toStdString();

    const QString written = m_root.hostPath(QStringLiteral("Out/args.txt"));
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(written) && waited.elapsed() < 20000)
        QThread::msleep(20);
    ASSERT_TRUE(QFileInfo::exists(written));
    EXPECT_EQ(m_root.readFile(QStringLiteral("Out/args.txt")),
              (m_root.hostPath(QStringLiteral("My Documents/A.bmp")) + "\ntwo words\n\\Nowhere\\x\nplain\n").toUtf8());
}

// Receives what QDesktopServices::openUrl hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST_F(ProcessLauncherTest, ShellOpen_UrlsGoAsTheyAreDevicePathsAsTheirHostFiles) {
    m_root.writeFile(QStringLiteral("My Documents/photo.jpg"), "jpg");
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");

    ProcessLauncher::shellOpen(QStringLiteral("http://example.com/a b"));
    ProcessLauncher::shellOpen(QStringLiteral("\\my documents\\PHOTO.JPG"));
    ProcessLauncher::shellOpen(QStringLiteral("\\My Documents\\missing.jpg"));

    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("http://example.com/a%20b")));
    EXPECT_EQ(catcher.urls[1], QUrl::fromLocalFile(m_root.hostPath(QStringLiteral("My Documents/photo.jpg"))));
}

}  // namespace
}  // namespace tavik

#include "process_launcher_test.moc"
