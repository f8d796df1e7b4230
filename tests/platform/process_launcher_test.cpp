#include "platform/process_launcher.h"

#include "tests/support/temporary_device_root.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace tavik {

TEST(ProcessLauncher, SplitCommandLine_FollowsTheWindowsRules)
{
    const struct {
        const char* line;
        QStringList arguments;
    } cases[] = {
        {"  a   b\tc ", {"a", "b", "c"}},
        {"\"\\MY DOCUMENTS\\A.BMP\" \"\" a\"b c\"d", {"\\MY DOCUMENTS\\A.BMP", "", "ab cd"}},
        {"a\\\\\"b c\" a\\\"b \\\\server \"a\"\"b\"", {"a\\b c", "a\"b", "\\\\server", "a\"b"}},
        {"日本 \"unterminated quote", {"日本", "unterminated quote"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProcessLauncher::splitCommandLine(QString::fromUtf8(c.line)), c.arguments) << c.line;
}

TEST(ProcessLauncher, Start_OfWhatCannotRun_FailsWithAReason)
{
    TemporaryDeviceRoot root;
    root.writeFile(QStringLiteral("Programs/text.exe"), "#!/bin/sh\n");  // not executable
    root.makeFolder(QStringLiteral("Programs/Folder.exe"));
    for (const char* program : {"\\Programs\\missing.exe", "\\Programs\\text.exe", "\\Programs\\Folder.exe", ""}) {
        const Outcome<> started = ProcessLauncher::start(QString::fromUtf8(program));
        EXPECT_FALSE(started) << program;
        EXPECT_FALSE(started.reason().isEmpty()) << program;
    }
}

TEST(ProcessLauncher, Start_RunsTheProgramWithDevicePathArgumentsAsHostPaths)
{
    TemporaryDeviceRoot root;
    // Writes its arguments after the first, one a line, to the file the first names.
    const QString program = root.writeFile(QStringLiteral("Programs/args.exe"),
        "#!/bin/sh\nout=\"$1\"\nshift\n"
        "printf '%s\\n' \"$@\" > \"$out.p\" && mv \"$out.p\" \"$out\"\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    root.writeFile(QStringLiteral("My Documents/A.bmp"), "bmp");

    const QString arguments = QStringLiteral("\"%1\" \"\\MY DOCUMENTS\\A.BMP\" \\Nowhere\\x").arg(root.hostPath("out"));
    ASSERT_TRUE(ProcessLauncher::start(QStringLiteral("\\PROGRAMS\\ARGS.EXE"), arguments));
    EXPECT_TRUE(QTest::qWaitFor([&] { return root.readFile(QStringLiteral("out")).has_value(); }, 20000));
    EXPECT_EQ(root.readFile(QStringLiteral("out")),
        (root.hostPath(QStringLiteral("My Documents/A.bmp")) + "\n\\Nowhere\\x\n").toUtf8());
}

// The desktop's opener itself is tried end to end (e2e/run_links_e2e.sh): the
// offscreen platform of these tests has none.
TEST(ProcessLauncher, ShellOpen_RefusesWhatWouldRunWhateverItsName)
{
    TemporaryDeviceRoot root;
    const QString mark = root.hostPath(QStringLiteral("mark"));
    const auto runnable = [&](const QString& relative, const QString& text) {
        const QString path = root.writeFile(relative, text.arg(mark).toUtf8());
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    };
    const QString script = QStringLiteral("#!/bin/sh\ntouch '%1'\n");
    const QString sh = runnable(QStringLiteral("My Documents/run.sh"), script);
    runnable(QStringLiteral("My Documents/photo.bmp"), script);
    runnable(QStringLiteral("My Documents/start.desktop"),
        QStringLiteral("[Desktop Entry]\nType=Application\nName=Start\nExec=touch %1\n"));
    root.writeFile(QStringLiteral("My Documents/notes.txt"), "milk\n");

    for (const QString& name : {QStringLiteral("\\My Documents\\run.sh"), QStringLiteral("\\my documents\\photo.bmp"),
             QStringLiteral("\\My Documents\\start.desktop"), QUrl::fromLocalFile(sh).toString()})
        EXPECT_FALSE(ProcessLauncher::shellOpen(name)) << name.toStdString();
    // Documents, missing files and addresses go to the desktop, which reports nothing back.
    for (const char* name : {"\\my documents\\notes.txt", "\\My Documents\\gone.txt", "http://example.invalid/"})
        EXPECT_TRUE(ProcessLauncher::shellOpen(QString::fromUtf8(name))) << name;
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(mark));
}

}  // namespace tavik
