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

// The desktop's opener for the time it lives: a script first on PATH named xdg-open,
// which writes down what it is given and, for a name holding "fail", ends with status
// 3 as xdg-open does when it knows no way of opening a kind of file.
class FakeOpener {
public:
    explicit FakeOpener(const TemporaryDeviceRoot& root)
        : m_record(root.hostPath(QStringLiteral("opened")))
    {
        const QString script = root.writeFile(QStringLiteral("bin/xdg-open"),
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >>'%1'\ncase \"$1\" in *fail*) exit 3;; esac\n")
                .arg(m_record)
                .toUtf8());
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(QFileInfo(script).path()) + ':' + m_previousPath);
    }
    ~FakeOpener() { qputenv("PATH", m_previousPath); }

    QStringList opened() const
    {
        QFile file(m_record);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }

private:
    const QByteArray m_previousPath = qgetenv("PATH");
    QString m_record;
};

TEST(ProcessLauncher, ShellOpen_RefusesWhatWouldRun_AndTellsWhatDidNotOpen)
{
    TemporaryDeviceRoot root;
    FakeOpener opener(root);
    QObject context;
    int notOpened = 0;
    const auto open
        = [&](const QString& name) { return ProcessLauncher::shellOpen(name, context, [&notOpened] { ++notOpened; }); };

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
    const QString notes = root.writeFile(QStringLiteral("My Documents/Notes.txt"), "milk\n");

    for (const QString& name : {QStringLiteral("\\My Documents\\run.sh"), QStringLiteral("\\my documents\\photo.bmp"),
             QStringLiteral("\\My Documents\\start.desktop"), QUrl::fromLocalFile(sh).toString()}) {
        const ShellOpenResult opened = open(name);
        EXPECT_FALSE(opened) << name.toStdString();
        EXPECT_EQ(opened.reason(), ShellOpenFailure::WouldRun) << name.toStdString();
    }
    // A missing file, or a name that maps to none, fails before any opener is asked.
    for (const char* name : {"\\My Documents\\gone.txt", "\\My Documents\\..\\Notes.txt"}) {
        const ShellOpenResult opened = open(QString::fromUtf8(name));
        EXPECT_FALSE(opened) << name;
        EXPECT_EQ(opened.reason(), ShellOpenFailure::NotOpened) << name;
    }
    // Documents and addresses go to the opener; the one it cannot open is told later.
    for (const char* name :
        {"\\My Documents\\Notes.txt", "HTTP://Example.invalid/Docs/ReadMe.html", "http://example.invalid/fail"})
        EXPECT_TRUE(open(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(QTest::qWaitFor([&] { return notOpened > 0 && opener.opened().size() == 3; }, 20000));
    QTest::qWait(300);
    EXPECT_EQ(notOpened, 1);
    QStringList opened = opener.opened();
    opened.sort();  // the openers run side by side
    EXPECT_EQ(opened,
        QStringList({notes, QStringLiteral("http://example.invalid/Docs/ReadMe.html"),
            QStringLiteral("http://example.invalid/fail")}));
    EXPECT_FALSE(QFile::exists(mark));
}

}  // namespace tavik
