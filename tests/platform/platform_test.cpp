#include "platform/device_file_system.h"
#include "platform/device_path.h"
#include "platform/file_open_dialog.h"
#include "platform/process_launcher.h"
#include "platform/single_instance.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace tavik {
namespace {

TEST(DevicePath, ToHost_IgnoresCase_RefusesDotPartsAndUnreachableNames_FallsBackToBundledPrograms)
{
    TemporaryDeviceRoot bundled;  // made first: the root below is the one in effect
    TemporaryDeviceRoot root;
    const QString list = root.writeFile(QStringLiteral("My Documents/List.LST"), "x");
    for (const char* file : {"b.lst", ".hidden.lst", "back\\slash.lst", "Sub/x"})
        root.writeFile(QStringLiteral("My Documents/") + QString::fromUtf8(file), "x");
    const QString speech = bundled.writeFile(QStringLiteral("VELUN-SPEECH/ReadOut.exe"), "");
    bundled.writeFile(QStringLiteral("Vantra/Drawbo.exe"), "");
    const QString own = root.writeFile(QStringLiteral("Program Files/Vantra/Drawbo.exe"), "own copy");
    DevicePath::setBundledProgramFiles(bundled.hostPath());
    const std::optional<QString> none;
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"\\MY DOCUMENTS\\list.lst", list},
        {"\\\\My Documents\\\\\\List.LST", list},
        {"\\my documents\\new.lst", root.hostPath(QStringLiteral("My Documents/new.lst"))},  // a file to be made
        {"\\Missing\\new.lst", none},
        {"\\My Documents\\..\\My Documents\\List.LST", none},
        {"\\My Documents\\.\\List.LST", none},
        {"\\..\\..\\etc\\passwd", none},
        {"\\My Documents\\back\\slash.lst", none},
        {"\\PROGRAM FILES\\velun-speech\\READOUT.EXE", speech},
        {"\\Program Files\\Vantra\\Drawbo.exe", own},
        {"\\VELUN-SPEECH\\ReadOut.exe", none},
    };
    for (const auto& [device, host] : cases)
        EXPECT_EQ(DevicePath::toHost(QString::fromUtf8(device)), host) << device;
    DevicePath::setBundledProgramFiles(QString());

    QStringList names;
    const Outcome<QList<DirectoryEntry>> listing = DeviceFileSystem::list(QStringLiteral("\\my documents"));
    for (const DirectoryEntry& entry : *listing)
        names << entry.name + (entry.isFolder ? "\\" : "");
    EXPECT_EQ(names, QStringList({"b.lst", "List.LST", "Sub\\"}));
}

// A host path (a file given on the command line) names the entry the host finds, links
// followed: the device path given for it leads back to that very entry, or there is none.
TEST(DevicePath, FromHost_NamesTheEntryTheHostFinds_ThroughLinksAndDotDot)
{
    QTemporaryDir outside;
    ASSERT_TRUE(QDir().mkpath(outside.filePath(QStringLiteral("sub"))));
    ASSERT_TRUE(QFile(outside.filePath(QStringLiteral("away.lst"))).open(QIODevice::WriteOnly));
    TemporaryDeviceRoot root;
    const QString list = root.writeFile(QStringLiteral("Docs/list.lst"), "x");
    root.writeFile(QStringLiteral("Docs/away.lst"), "where the text alone would lead");
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("sub")), root.hostPath(QStringLiteral("Docs/out"))));
    ASSERT_TRUE(QFile::link(list, outside.filePath(QStringLiteral("in.lst"))));

    EXPECT_EQ(DevicePath::fromHost(root.hostPath(QStringLiteral("Docs/../Docs/list.lst"))),
        QStringLiteral("\\Docs\\list.lst"));
    EXPECT_EQ(DevicePath::fromHost(outside.filePath(QStringLiteral("in.lst"))), QStringLiteral("\\Docs\\list.lst"));
    // Docs/out/.. is the outside folder, not Docs, whatever the text says.
    EXPECT_EQ(DevicePath::fromHost(root.hostPath(QStringLiteral("Docs/out/../away.lst"))), std::nullopt);
    EXPECT_EQ(DevicePath::fromHost(root.hostPath()), QString());
}

TEST(ProcessLauncher, SplitCommandLine_FollowsTheWindowsRules)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"  a   b\tc ", {"a", "b", "c"}},
        {"\"\\MY DOCUMENTS\\A.BMP\" \"\" a\"b c\"d", {"\\MY DOCUMENTS\\A.BMP", "", "ab cd"}},
        {"a\\\\\"b c\" a\\\"b \\\\server \"a\"\"b\"", {"a\\b c", "a\"b", "\\\\server", "a\"b"}},
        {"日本 \"unterminated quote", {"日本", "unterminated quote"}},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(ProcessLauncher::splitCommandLine(QString::fromUtf8(line)), arguments) << line;
}

// The program writes its arguments after the first, one a line, to the file the first names.
TEST(ProcessLauncher, Start_RunsOnlyAnExecutableFile_WithDevicePathArgumentsAsHostPaths)
{
    TemporaryDeviceRoot root;
    const QByteArray script
        = "#!/bin/sh\nout=\"$1\"\nshift\nprintf '%s\\n' \"$@\" > \"$out.p\" && mv \"$out.p\" \"$out\"\n";
    root.writeFile(QStringLiteral("Programs/text.exe"), script);  // not executable
    root.makeFolder(QStringLiteral("Programs/Folder.exe"));
    // A file the user may not run is refused before anything is started.
    for (const auto& [program, reason] : {std::pair{"\\Programs\\missing.exe", "does not exist"},
             {"", "is not an executable program"}, {"\\Programs\\text.exe", "is not an executable program"},
             {"\\Programs\\Folder.exe", "is not an executable program"}}) {
        const Outcome<> started = ProcessLauncher::start(QString::fromUtf8(program));
        EXPECT_TRUE(!started && started.reason().contains(QLatin1String(reason))) << program;
    }

    QFile::setPermissions(
        root.writeFile(QStringLiteral("Programs/args.exe"), script), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    root.writeFile(QStringLiteral("My Documents/A.bmp"), "bmp");
    const QString arguments = QStringLiteral("\"%1\" \"\\MY DOCUMENTS\\A.BMP\" \\Nowhere\\x").arg(root.hostPath("out"));
    ASSERT_TRUE(ProcessLauncher::start(QStringLiteral("\\PROGRAMS\\ARGS.EXE"), arguments));
    EXPECT_TRUE(QTest::qWaitFor([&] { return root.readFile(QStringLiteral("out")).has_value(); }, 20000));
    EXPECT_EQ(root.readFile(QStringLiteral("out")),
        (root.hostPath(QStringLiteral("My Documents/A.bmp")) + "\n\\Nowhere\\x\n").toUtf8());
}

// The desktop's opener is a script first on PATH named xdg-open, which writes down what it is
// given and, for a name holding "fail", ends with status 3 as xdg-open does when it knows no
// way of opening a kind of file.
TEST(ProcessLauncher, ShellOpen_RefusesWhatWouldRun_AndTellsWhatDidNotOpen)
{
    TemporaryDeviceRoot root;
    const QString mark = root.hostPath(QStringLiteral("mark"));
    const QString script = QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(mark);
    const std::pair<const char*, QString> runnable[] = {
        {"bin/xdg-open",
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >>'%1'\ncase \"$1\" in *fail*) exit 3;; esac\n")
                .arg(root.hostPath(QStringLiteral("opened")))},
        {"My Documents/run.sh", script},
        {"My Documents/photo.bmp", script},
        {"My Documents/start.desktop",
            QStringLiteral("[Desktop Entry]\nType=Application\nName=Start\nExec=touch %1\n").arg(mark)},
    };
    for (const auto& [name, text] : runnable)
        QFile::setPermissions(
            root.writeFile(QString::fromUtf8(name), text.toUtf8()), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString notes = root.writeFile(QStringLiteral("My Documents/Notes.txt"), "milk\n");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(root.hostPath(QStringLiteral("bin"))) + ':' + path);
    const std::optional<ShellOpenFailure> opens, wouldRun = ShellOpenFailure::WouldRun,
                                                 notOpened = ShellOpenFailure::NotOpened;
    const std::pair<QString, std::optional<ShellOpenFailure>> cases[] = {
        {"\\My Documents\\run.sh", wouldRun},
        {"\\my documents\\photo.bmp", wouldRun},
        {"\\My Documents\\start.desktop", wouldRun},
        {QUrl::fromLocalFile(root.hostPath(QStringLiteral("My Documents/run.sh"))).toString(), wouldRun},
        // A missing file, or a name that maps to none, fails before any opener is asked.
        {"\\My Documents\\gone.txt", notOpened},
        {"\\My Documents\\..\\Notes.txt", notOpened},
        // Documents and addresses go to the opener; the one it cannot open is told later.
        {"\\My Documents\\Notes.txt", opens},
        {"HTTP://Example.invalid/Docs/ReadMe.html", opens},
        {"http://example.invalid/fail", opens},
    };
    QObject context;
    int told = 0;
    for (const auto& [name, failure] : cases) {
        const ShellOpenResult opened = ProcessLauncher::shellOpen(name, context, [&told] { ++told; });
        EXPECT_EQ(opened ? opens : opened.reason(), failure) << name.toStdString();
    }
    const auto opened = [&] {
        QStringList lines = QString::fromUtf8(root.readFile(QStringLiteral("opened")).value_or("")).split('\n');
        lines.removeAll(QString());
        lines.sort();  // the openers run side by side
        return lines;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return told > 0 && opened().size() == 3; }, 20000));
    QTest::qWait(200);
    qputenv("PATH", path);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(opened(), QStringList({notes, "http://example.invalid/Docs/ReadMe.html", "http://example.invalid/fail"}));
    EXPECT_FALSE(QFile::exists(mark));
}

// Whether the dialog's list comes to show `names`, sorted and joined by "|".
testing::AssertionResult Shows(const QDialog& dialog, const QString& names)
{
    const auto& list = *dialog.findChild<QListView*>();
    QStringList shown;
    const auto settled = [&] {
        shown.clear();
        for (int row = 0; row < list.model()->rowCount(list.rootIndex()); ++row)
            shown << list.model()->index(row, 0, list.rootIndex()).data().toString();
        shown.sort();
        return shown.join('|') == names;
    };
    return QTest::qWaitFor(settled, 3000) ? testing::AssertionSuccess()
                                          : testing::AssertionFailure() << "shows " << shown.join('|').toStdString();
}

void TypeAndEnter(QDialog& dialog, const QString& name)
{
    auto* edit = dialog.findChild<QLineEdit*>();
    edit->clear();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

// The list shows the files of the chosen patterns, ignoring case. A typed name is a device path,
// found ignoring case and given with the names as on disk. A host path, a climb above the root
// and back into it, a name that is not there: each is refused over the dialog, which stays open.
TEST(FileOpenDialog, ListsTheChosenPatterns_GivesTheDevicePathTyped_RefusesWhatLiesOutsideTheRoot)
{
    TemporaryDeviceRoot root;
    for (const char* name : {"NOTES.TXT", "readme.txt", ".hidden.txt", "Photo.Bmp", "a.JPG", "noext"})
        root.writeFile(QString::fromUtf8(name), "x");
    const QString photo = root.writeFile(QStringLiteral("My Documents/Photo.JPG"), "x");
    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::Ok).expect(MessageAnswer::Ok);
    const QWidget* shownOver = nullptr;
    QTimer::singleShot(0, [&] {
        auto& dialog = *qobject_cast<QDialog*>(QApplication::activeModalWidget());
        shownOver = &dialog;
        auto* up = dialog.findChild<QToolButton*>();
        EXPECT_FALSE(up->isEnabled()) << "the up button at the root";
        EXPECT_TRUE(Shows(dialog, "My Documents|NOTES.TXT|readme.txt"));
        dialog.findChild<QComboBox*>()->setCurrentIndex(1);
        EXPECT_TRUE(Shows(dialog, "My Documents|Photo.Bmp|a.JPG"));
        dialog.findChild<QComboBox*>()->setCurrentIndex(2);  // "*.*" is every file, names without a dot too
        const QString all = QStringLiteral("My Documents|NOTES.TXT|Photo.Bmp|a.JPG|noext|readme.txt");
        EXPECT_TRUE(Shows(dialog, all));
        for (const QString& refused :
            {photo, "My Documents\\..\\..\\" + QFileInfo(root.hostPath()).fileName() + "\\My Documents\\Photo.JPG",
                QStringLiteral("nothing.txt")})
            TypeAndEnter(dialog, refused);
        TypeAndEnter(dialog, QStringLiteral("my documents"));
        EXPECT_TRUE(Shows(dialog, "Photo.JPG"));
        up->click();
        EXPECT_TRUE(Shows(dialog, all));
        TypeAndEnter(dialog, QStringLiteral("\\MY DOCUMENTS\\photo.jpg"));
    });
    EXPECT_EQ(FileOpenDialog::getOpenFileName(nullptr,
                  QStringLiteral("text file(*.txt)|*.txt|Picture(*.bmp;*.jpg)|*.BMP; *.jpg|AllFile(*.*)|*.*||")),
        QStringLiteral("\\My Documents\\Photo.JPG"));
    ASSERT_EQ(boxes.texts().size(), 3);
    EXPECT_TRUE(boxes.texts()[2].contains(QStringLiteral("nothing.txt")));
    for (const MessageRequest& shown : boxes.shown())
        EXPECT_EQ(shown.owner, shownOver) << "a refusal shows over the dialog";
}

// Another copy of the program, in a process of its own: it takes the lock and holds it until
// it is killed. Gives its process id, or 0 when it could not take the lock.
pid_t StartRunningCopy()
{
    int ready[2];
    if (pipe(ready) != 0)
        return 0;
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance running;
        const char taken = running.tryAcquire() ? 'y' : 'n';
        [[maybe_unused]] const ssize_t written = write(ready[1], &taken, 1);
        pause();
        _exit(0);
    }
    char taken = 'n';
    const bool told = child > 0 && read(ready[0], &taken, 1) == 1;
    close(ready[0]);
    close(ready[1]);
    return told && taken == 'y' ? child : 0;
}

// A running copy keeps the lock; a killed one's lock is taken over. A second copy asks the
// running one to come forward and hands it its file, a relative name as an absolute path.
TEST(SingleInstance, RunningCopyKeepsTheLock_ASecondCopysRequestBringsItForward)
{
    const pid_t other = StartRunningCopy();
    ASSERT_GT(other, 0);
    SingleInstance second;
    EXPECT_FALSE(second.tryAcquire());
    kill(other, SIGKILL);  // no chance to clean up
    waitpid(other, nullptr, 0);
    ASSERT_TRUE(second.tryAcquire());

    QStringList requests;
    ASSERT_TRUE(second.listen([&](const QString& file) { requests << file; }));
    // A file name may hold anything but "/" and NUL; a relative one is the second copy's.
    const QString file = QStringLiteral("買い物 リスト\n%41.lst");
    for (const QString& handed : {QString(), file})
        SingleInstance::activateRunningCopy(handed, std::chrono::milliseconds(100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.size() == 2; }, 5000));
    EXPECT_EQ(requests, QStringList({QString(), QDir::current().filePath(file)}));
}

}  // namespace
}  // namespace tavik
