#include "app/tavik_app.h"

#include "app/main_frame.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/combo_box.h"
#include "platform/modal_dialog.h"
#include "platform/popup_menu.h"
#include "res/resources.h"
#include "tests/support/popup_probe.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "view/tavik_view.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace tavik {
namespace {

class TavikAppTest : public ::testing::Test {
protected:
    // A device root with one checklist: a root without any would greet every start
    // with the chooser's "nothing found" message.
    TavikAppTest() { m_file = m_root.writeFile(QStringLiteral("list.lst"), "old"); }

    void SetUp() override
    {
        m_app = std::make_unique<CTavikApp>();
        ASSERT_TRUE(m_app->InitInstance());
        m_frame = m_app->mainFrame();
        m_view = m_app->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame));
    }

    void TearDown() override
    {
        if (m_frame && m_frame->isVisible()) {
            m_view->checklist().setModified(false);
            m_frame->close();
        }
        m_app->ExitInstance();
    }

    // Opens a popup with `open`, then chooses `command` in it as a user would.
    void chooseFromPopup(const std::function<void()>& open, int command)
    {
        open();
        QCoreApplication::processEvents();
        ASSERT_NE(PopupProbe::current(), nullptr);
        PopupProbe::choose(command);
    }

    TemporaryDeviceRoot m_root;
    QString m_file;
    std::unique_ptr<CTavikApp> m_app;
    CMainFrame* m_frame = nullptr;
    CTavikView* m_view = nullptr;
};

TEST_F(TavikAppTest, StartUp_ShowsTheMainFormAndTheToolsBar)
{
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("tavik"));
    EXPECT_EQ(m_frame->size(), QSize(240, 320));
    EXPECT_EQ(m_frame->centralWidget(), m_view);

    // No file is open: nothing is counted.
    EXPECT_EQ(m_view->counter()->text(), QStringLiteral("0/0\n0%"));
    EXPECT_FALSE(m_view->commentPane()->isVisible());

    // The list reaches the right and bottom edges, the chooser the right edge.
    EXPECT_EQ(m_view->list()->geometry().right(), m_view->width() - 1);
    EXPECT_EQ(m_view->list()->geometry().bottom(), m_view->height() - 1);
    EXPECT_EQ(m_view->listRect(), m_view->list()->geometry());
    EXPECT_EQ(m_view->fileCombo()->geometry().right(), m_view->width() - 1);

    m_frame->resize(480, 640);  // a resize keeps them there
    QCoreApplication::processEvents();
    EXPECT_EQ(m_view->list()->geometry().right(), m_view->width() - 1);
    EXPECT_EQ(m_view->list()->geometry().bottom(), m_view->height() - 1);
    EXPECT_EQ(m_view->fileCombo()->geometry().right(), m_view->width() - 1);

    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("commandBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(m_frame->toolBarArea(bar), Qt::BottomToolBarArea);
    EXPECT_EQ(m_frame->toolsButton()->text(), QStringLiteral("ツール"));
    EXPECT_FALSE(m_frame->windowIcon().isNull());
}

TEST_F(TavikAppTest, MainWindow_ShrinksNoFurtherThanItsControlsStayUsable)
{
    m_frame->resize(40, 40);
    QCoreApplication::processEvents();
    EXPECT_GE(m_frame->width(), 150);
    const QRect view = m_view->rect();
    for (const int id : {res::IDC_MARK_BUTTON, res::IDC_MENU_BUTTON, res::IDC_COUNTER, res::IDC_FILE_COMBO})
        EXPECT_TRUE(view.contains(m_view->findControl(id)->geometry())) << id;
    EXPECT_GE(m_view->fileCombo()->width(), 60);
    // The list shows its header and a few rows, also with the comment pane open below it.
    m_view->executeCommand(res::ID_SHOW_COMMENT);
    QTableView* list = m_view->list();
    EXPECT_GE(list->viewport()->height(), 3 * list->verticalHeader()->defaultSectionSize());
    EXPECT_TRUE(view.contains(m_view->commentPane()->geometry()));
}

TEST_F(TavikAppTest, SecondCopy_EndsWithoutAWindowAndWithoutSettings)
{
    const QString settings = QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Vantra/tavik.conf");
    const bool settingsExisted = QFile::exists(settings);
    const int windows = QApplication::topLevelWidgets().size();

    CTavikApp second;
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.mainFrame(), nullptr);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(QFile::exists(settings), settingsExisted);
}

TEST_F(TavikAppTest, ListPopup_OpensAtItsPointWithEntriesUpdatedThroughTheRoute)
{
    QTest::mouseClick(m_view->findControl<QPushButton>(res::IDC_MENU_BUTTON), Qt::LeftButton);
    QCoreApplication::processEvents();
    QMenu* popup = PopupProbe::current();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), PopupMenu::programPointToGlobal(*m_frame, QPoint(40, 45)));

    // Closing is handled by the application, the item and font commands by the view; moving
    // needs a selected row; reading aloud has no handler yet.
    for (int handled : {res::ID_APP_EXIT, res::IDC_ADD_ITEM, res::ID_FONT_SMALLER, res::ID_LIST_SAVE_AS})
        EXPECT_TRUE(PopupProbe::entry(handled)->isEnabled()) << handled;
    for (int disabled : {res::ID_MOVE_UP, res::ID_ITEM_CUT, res::ID_READ_ALOUD})
        EXPECT_FALSE(PopupProbe::entry(disabled)->isEnabled()) << disabled;

    PopupProbe::choose(res::ID_APP_EXIT);
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(TavikAppTest, ToolsMenu_OffersAboutAndExit)
{
    m_frame->toolsButton()->click();
    QCoreApplication::processEvents();
    QMenu* popup = PopupProbe::current();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(PopupProbe::entryTexts(*popup),
        (QStringList{QStringLiteral("読上（VELUN)"), QStringLiteral("tavik のバージョン情報..."),
            QStringLiteral("プログラムの終了")}));
    EXPECT_FALSE(PopupProbe::entry(res::ID_READ_ALOUD)->isEnabled());
    // The bar is at the bottom: the popup opens upwards, above the button.
    EXPECT_LE(popup->geometry().bottom(), m_frame->toolsButton()->mapToGlobal(QPoint(0, 0)).y());

    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ABOUTBOX, [this](ModalDialog& about) {
        EXPECT_EQ(about.windowTitle(), QStringLiteral("tavik のバージョン情報"));
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("tavik Version 1.28"))) << texts.join('|').toStdString();
        const QPoint offset = about.frameGeometry().center() - m_frame->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        return ScriptedDialogs::press(about, IDOK);
    });
    PopupProbe::choose(res::ID_APP_ABOUT);
    EXPECT_EQ(dialogs.shown(), QList<int>{res::IDD_ABOUTBOX});
    EXPECT_TRUE(m_frame->isVisible());

    chooseFromPopup([this] { m_frame->toolsButton()->click(); }, res::ID_APP_EXIT);
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(TavikAppTest, Accelerators_CtrlQClosesCtrlOOpensTheChooserAndCtrlCCopiesFromThePane)
{
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    m_view->fileCombo()->addString(QStringLiteral("list.lst"));  // an empty chooser has nothing to open
    QTest::keyClick(m_frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(m_view->fileCombo()->view()->isVisible());
    m_view->fileCombo()->hidePopup();

    // Ctrl+C in the comment pane copies what is selected there.
    m_view->executeCommand(res::ID_SHOW_COMMENT);
    QPlainTextEdit* pane = m_view->commentPane();
    pane->setPlainText(QStringLiteral("2 l\nlow fat"));
    pane->selectAll();
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2 l\nlow fat"));

    QTest::keyClick(m_frame, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(m_frame->isVisible());
}

// Closing writes a modified checklist back, asks nothing for an ordinary file, and
// never closes silently over changes that could not be written.
class ExitHookTest : public TavikAppTest {
protected:
    void SetUp() override
    {
        TavikAppTest::SetUp();
        Checklist& checklist = m_view->checklist();
        checklist.setFilePath(u"\\list.lst");
        checklist.appendRow({Mark::Done, u"牛乳", u"02/12/23"}, u"");
    }

    QByteArray fileBytes() const { return *m_root.readFile(QStringLiteral("list.lst")); }
};

TEST_F(ExitHookTest, Unmodified_WritesNothing)
{
    m_app->view()->checklist().setModified(false);
    m_frame->close();
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_EQ(fileBytes(), QByteArray("old"));
}

TEST_F(ExitHookTest, Modified_IsWrittenWithoutAQuestion)
{
    m_view->checklist().setModified(true);
    ScriptedMessageBoxes boxes;  // any box fails the test
    chooseFromPopup([this] { m_frame->toolsButton()->click(); }, res::ID_APP_EXIT);
    EXPECT_FALSE(m_frame->isVisible());
    const std::string expected = Cp932Codec::encode(u"\r\n○<02/12/23>牛乳\r\n");
    EXPECT_EQ(fileBytes(), QByteArray::fromStdString(expected));
}

TEST_F(ExitHookTest, TerminationSignal_ClosesAsTheUserWouldAndSaves)
{
    m_view->checklist().setModified(true);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_frame->isVisible(); }));
    EXPECT_NE(fileBytes(), QByteArray("old"));
}

TEST_F(ExitHookTest, UnicodeFile_CancelAsksThenClosesWithoutWriting)
{
    m_view->checklist().setModified(true);
    m_view->checklist().setReadAsUnicode(true);
    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Cancel, QStringLiteral("ユニコードデータにASCIIを書き戻します"))
        .expect(MessageAnswer::Yes, QStringLiteral("変更は保存されていません。このまま終了しますか？"));
    m_frame->close();
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_EQ(fileBytes(), QByteArray("old"));
}

TEST_F(ExitHookTest, FailedWrite_AsksBeforeClosing)
{
    m_view->checklist().setFilePath(u"\\no such folder\\list.lst");
    m_view->checklist().setModified(true);
    {
        ScriptedMessageBoxes boxes;
        boxes.expect(MessageAnswer::Ok)
            .expect(MessageAnswer::No, QStringLiteral("変更は保存されていません。このまま終了しますか？"));
        m_frame->close();
        EXPECT_EQ(boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
        EXPECT_TRUE(m_frame->isVisible());
        EXPECT_TRUE(m_view->checklist().modified());
    }
    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::Yes);
    m_frame->close();
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(ExitHookTest, SaveAndExitCommands_WriteAsTheyAskThenClose)
{
    // 1009 writes only a modified checklist, 1017 writes it in any case; both close.
    m_view->checklist().setModified(false);
    m_view->executeCommand(res::IDC_SAVE_AND_EXIT);
    EXPECT_EQ(fileBytes(), QByteArray("old"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_frame->isVisible(); }));

    m_frame->show();
    m_view->checklist().setModified(false);
    m_view->executeCommand(res::IDC_CLOSE_VIEW);
    EXPECT_NE(fileBytes(), QByteArray("old"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_frame->isVisible(); }));
}

TEST_F(TavikAppTest, HoldOnTheList_TogglesTheCommentPaneThroughTheFrame)
{
    QWidget* list = m_view->list()->viewport();
    for (const bool open : {true, false}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(list, &event);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->commentPane()->isVisible() == open; }));
    }
}

// tavik in a process of its own, with a changed checklist: a signal in the middle of a
// reading, a modal box or a menu, or after the window has closed, ends it promptly, and
// the checklist is written back.
TEST(TerminationSignals, EndTavikInAnyState_AfterWritingTheChecklistBack)
{
    const struct {
        const char* state;
        int signal;
    } cases[] = {{"reading", SIGTERM}, {"about", SIGINT}, {"menu", SIGHUP}, {"closed", SIGTERM}};
    for (const auto& c : cases) {
        TemporaryDeviceRoot root;
        QTemporaryDir folders;
        const QString list = root.writeFile(QStringLiteral("list.lst"), "milk\r\n");
        root.makeFolder(QStringLiteral("Program Files/VELUN-SPEECH"));
        ASSERT_TRUE(QFile::copy(
            QStringLiteral(FAKE_READOUT), root.hostPath(QStringLiteral("Program Files/VELUN-SPEECH/ReadOut.exe"))));
        const QString log = folders.filePath(QStringLiteral("log"));
        const auto logged = [&log] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folders.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folders.path());
        environment.insert(QStringLiteral("FAKE_READOUT_LOG"), log);
        environment.insert(QStringLiteral("FAKE_READOUT_READ_MS"), QStringLiteral("60000"));
        QProcess tavik;
        tavik.setProcessEnvironment(environment);
        tavik.start(QStringLiteral(TAVIK_STATE_HELPER), {list, QString::fromLatin1(c.state)});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                tavik.waitForReadyRead(100);
                return tavik.canReadLine() || tavik.state() == QProcess::NotRunning;
            },
            20000));
        ASSERT_EQ(tavik.readLine(), QByteArray("ready\n")) << c.state;
        if (QByteArray(c.state) == "reading") {
            ASSERT_TRUE(QTest::qWaitFor([&] { return logged().contains("command"); }, 20000));
        }

        ::kill(static_cast<pid_t>(tavik.processId()), c.signal);
        EXPECT_TRUE(tavik.waitForFinished(10000)) << c.state;
        EXPECT_TRUE(root.readFile(QStringLiteral("list.lst"))->contains("milk\r\nadded\r\n")) << c.state;
        EXPECT_FALSE(logged().contains("done")) << "the reading was not waited for";
        tavik.kill();
        tavik.waitForFinished();
    }
}

}  // namespace
}  // namespace tavik
