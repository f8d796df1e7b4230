#include "app/main_frame.h"
#include "app/tavik_app.h"
#include "files/checklist_files.h"
#include "platform/combo_box.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "view/tavik_view.h"

#include <QDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tavik {
namespace {

// tavik given a file to open: on its own command line, or by a later start while it runs.
class OpenFileTest : public ::testing::Test {
protected:
    OpenFileTest()
    {
        m_root.writeFile(QStringLiteral("list.lst"), "milk\r\n");
        m_root.writeFile(QStringLiteral("Shop/buy.txt"), "eggs\r\n");
        ChecklistFiles::rememberLocation({QString(), QStringLiteral("list.lst")});
    }
    ~OpenFileTest() override { stop(); }

    void start(const QString& file)
    {
        m_app = std::make_unique<CTavikApp>();
        ASSERT_TRUE(m_app->InitInstance(file));
        m_view = m_app->view();
    }

    void stop()
    {
        if (!m_app)
            return;
        if (m_view)
            m_view->checklist().setModified(false);
        if (m_app->mainFrame())
            m_app->mainFrame()->close();
        m_app->ExitInstance();
        m_app.reset();
    }

    // Starts the program from `folder` while this copy runs, as a user would, and waits for it to end.
    static void startLaterCopy(const QString& folder, const QStringList& arguments)
    {
        QProcess later;
        later.setWorkingDirectory(folder);
        later.start(QStringLiteral(TAVIK_EXECUTABLE), arguments);
        ASSERT_TRUE(later.waitForStarted(20000));
        // This copy answers it from its event loop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 20000));
        EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(later.exitCode(), 0);
    }

    std::u16string openFile() const { return m_view->checklist().filePath(); }
    static std::pair<QString, QString> remembered()
    {
        return {ChecklistFiles::rememberedFolder(), ChecklistFiles::rememberedFileName()};
    }

    TemporaryDeviceRoot m_root;
    std::unique_ptr<CTavikApp> m_app;
    CTavikView* m_view = nullptr;
};

TEST_F(OpenFileTest, StartWithAFileUnderTheRoot_OpensItInsteadOfTheLastOne_AndRemembersIt)
{
    // The last file would greet the start with a message: it must not even be read.
    m_root.writeFile(QStringLiteral("broken.lst"), QByteArray("x\0y\0", 4));
    ChecklistFiles::rememberLocation({QString(), QStringLiteral("broken.lst")});
    ScriptedMessageBoxes boxes;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_root.hostPath(QStringLiteral("Shop"))));
    start(QStringLiteral("../Shop/buy.txt"));
    QDir::setCurrent(previous);

    EXPECT_EQ(openFile(), u"\\Shop\\buy.txt");
    ASSERT_EQ(m_view->checklist().rowCount(), 1u);
    EXPECT_EQ(m_view->checklist().row(0).text, u"eggs");
    EXPECT_EQ(remembered(), std::pair(QStringLiteral("\\Shop"), QStringLiteral("buy.txt")));
    EXPECT_GE(m_view->fileCombo()->findText(QStringLiteral(" buy.txt")), 0);
    EXPECT_EQ(m_view->fileCombo()->findText(QStringLiteral(" list.lst")), -1);  // the file's folder is listed
}

TEST_F(OpenFileTest, StartWithAFileThatCannotBeOpened_SaysWhyAndOpensTheLastOne)
{
    QTemporaryDir outside;
    const QString away = outside.filePath(QStringLiteral("away.lst"));
    QFile awayFile(away);
    ASSERT_TRUE(awayFile.open(QIODevice::WriteOnly));
    m_root.writeFile(QStringLiteral("notes.md"), "x\r\n");
    const QString gone = m_root.hostPath(QStringLiteral("gone.lst"));
    const QString notes = m_root.hostPath(QStringLiteral("notes.md"));
    const std::pair<QString, QString> refused[] = {
        {away, QStringLiteral("このファイルはデバイスのルートの外にあるため開けません。\n") + away},
        {gone, QStringLiteral("ファイルが見つかりません。\n") + gone},
        {notes, QStringLiteral("チェックリスト（.lst、.txt）ではないため開けません。\n") + notes},
    };
    for (const auto& [path, message] : refused) {
        ScriptedMessageBoxes boxes;
        boxes.expect(MessageAnswer::Ok, message);
        start(path);
        EXPECT_EQ(openFile(), u"\\list.lst") << path.toStdString();
        EXPECT_EQ(remembered(), std::pair(QString(), QStringLiteral("list.lst")));
        stop();
    }
}

TEST_F(OpenFileTest, LaterStartWithAFile_WritesTheOpenChecklistBackThenOpensIt_WithoutOneOnlyActivates)
{
    start(QString());
    Checklist& checklist = m_view->checklist();
    checklist.appendRow({Mark::None, u"bread", u""}, u"");
    checklist.setModified(true);
    ScriptedMessageBoxes boxes;  // an ordinary file is written without a question

    startLaterCopy(m_root.hostPath(QStringLiteral("Shop")), {QStringLiteral("buy.txt")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return openFile() == u"\\Shop\\buy.txt"; }, 5000));
    EXPECT_TRUE(m_root.readFile(QStringLiteral("list.lst"))->contains("milk\r\nbread\r\n"));
    EXPECT_EQ(checklist.row(0).text, u"eggs");
    EXPECT_FALSE(checklist.modified());
    EXPECT_EQ(remembered(), std::pair(QStringLiteral("\\Shop"), QStringLiteral("buy.txt")));

    CMainFrame* frame = m_app->mainFrame();
    frame->showMinimized();
    startLaterCopy(m_root.hostPath(), {});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !(frame->windowState() & Qt::WindowMinimized); }, 5000));
    EXPECT_EQ(openFile(), u"\\Shop\\buy.txt");
}

// What is open in front of the user keeps the open checklist: an open dialog until it
// closes, and changes that could not be written unless the user drops them.
TEST_F(OpenFileTest, LaterStartWithAFile_WaitsForAnOpenDialog_AndKeepsChangesTheUserWillNotDrop)
{
    start(QString());
    const QString buy = m_root.hostPath(QStringLiteral("Shop/buy.txt"));
    {
        QDialog editor(m_app->mainFrame());
        editor.setModal(true);
        editor.show();
        startLaterCopy(m_root.hostPath(), {buy});
        QTest::qWait(600);
        EXPECT_EQ(openFile(), u"\\list.lst");
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return openFile() == u"\\Shop\\buy.txt"; }, 5000));

    Checklist& checklist = m_view->checklist();
    checklist.setFilePath(u"\\no such folder\\buy.txt");
    checklist.setModified(true);
    ScriptedMessageBoxes boxes;
    boxes
        .expect(MessageAnswer::Ok)  // the write failed
        .expect(MessageAnswer::No, QStringLiteral("変更は保存されていません。破棄しますか？"));
    startLaterCopy(m_root.hostPath(), {m_root.hostPath(QStringLiteral("list.lst"))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.pending() == 0; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(openFile(), u"\\no such folder\\buy.txt");
    EXPECT_TRUE(checklist.modified());
    EXPECT_EQ(remembered(), std::pair(QStringLiteral("\\Shop"), QStringLiteral("buy.txt")));
}

}  // namespace
}  // namespace tavik
