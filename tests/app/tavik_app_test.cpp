#include "app/tavik_app.h"

#include "app/main_frame.h"
#include "files/checklist_files.h"
#include "platform/popup_menu.h"
#include "res/resources.h"
#include "tests/support/popup_probe.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "view/tavik_view.h"

#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>

namespace tavik {
namespace {

// The application on a device root holding list.lst, the file it remembers, and Shop/buy.txt.
class TavikAppTest : public ::testing::Test {
protected:
    TavikAppTest()
    {
        m_root.writeFile(QStringLiteral("list.lst"), "milk\r\n");
        m_root.writeFile(QStringLiteral("Shop/buy.txt"), "eggs\r\n");
        ChecklistFiles::rememberLocation({QString(), QStringLiteral("list.lst")});
    }
    ~TavikAppTest() override { stop(); }

    void start(const QString& file = QString())
    {
        m_app = std::make_unique<CTavikApp>();
        ASSERT_TRUE(m_app->InitInstance(file));
        m_frame = m_app->mainFrame();
        m_view = m_app->view();
    }
    void stop()
    {
        if (!m_app)
            return;
        m_view->checklist().setModified(false);
        m_frame->close();
        m_app->ExitInstance();
        m_app.reset();
    }
    std::u16string openFile() const { return m_view->checklist().filePath(); }
    QByteArray listFile() const { return m_root.readFile(QStringLiteral("list.lst")).value_or("(missing)"); }

    TemporaryDeviceRoot m_root;
    std::unique_ptr<CTavikApp> m_app;
    CMainFrame* m_frame = nullptr;
    CTavikView* m_view = nullptr;
};

// The list reaches the right and bottom edges at every size, and the window shrinks no further than
// its controls stay usable. The list popup opens at its point and the tools menu above its button,
// each entry enabled by whoever handles it on the route.
TEST_F(TavikAppTest, MainWindow_KeepsItsControlsInPlace_AndItsPopupsAskTheRoute)
{
    start();
    EXPECT_EQ(m_frame->size(), QSize(240, 320));
    for (const QSize size : {QSize(480, 640), QSize(40, 40)}) {
        m_frame->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_view->list()->geometry().bottomRight(), m_view->rect().bottomRight());
        for (const int id : {res::IDC_MARK_BUTTON, res::IDC_MENU_BUTTON, res::IDC_COUNTER, res::IDC_FILE_COMBO})
            EXPECT_TRUE(m_view->rect().contains(m_view->findControl(id)->geometry())) << id;
    }

    QTest::mouseClick(m_view->findControl<QPushButton>(res::IDC_MENU_BUTTON), Qt::LeftButton);
    ASSERT_NE(PopupProbe::current(), nullptr);
    EXPECT_EQ(PopupProbe::current()->pos(), PopupMenu::programPointToGlobal(*m_frame, QPoint(40, 45)));
    for (const int handled : {res::ID_APP_EXIT, res::IDC_ADD_ITEM, res::ID_FONT_SMALLER, res::ID_LIST_SAVE_AS})
        EXPECT_TRUE(PopupProbe::entry(handled)->isEnabled()) << handled;
    for (const int disabled : {res::ID_MOVE_UP, res::ID_ITEM_CUT, res::ID_READ_ALOUD})
        EXPECT_FALSE(PopupProbe::entry(disabled)->isEnabled()) << disabled;
    PopupProbe::dismiss();
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ABOUTBOX, [](ModalDialog& about) {
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("tavik Version 1.28"))) << texts.join('|').toStdString();
        return ScriptedDialogs::press(about, IDOK);
    });
    auto* tools = m_frame->findChild<QToolButton*>(QStringLiteral("toolsButton"));
    for (const int command : {res::ID_APP_ABOUT, res::ID_APP_EXIT}) {
        tools->click();
        ASSERT_NE(PopupProbe::current(), nullptr);
        EXPECT_LE(PopupProbe::current()->geometry().bottom(), tools->mapToGlobal(QPoint()).y());
        PopupProbe::choose(command);
    }
    EXPECT_FALSE(m_frame->isVisible());
}

// Closing, also by a termination signal, writes a modified checklist back without a question, but
// never closes silently over changes that could not be written; a file read as Unicode asks before
// it is written as CP932.
TEST_F(TavikAppTest, Closing_WritesTheChecklistBack_OrAsksBeforeLosingIt)
{
    start();
    Checklist& checklist = m_view->checklist();
    checklist.appendRow({Mark::None, u"bread", u""}, u"");
    checklist.setFilePath(u"\\no such folder\\list.lst");
    checklist.setModified(true);
    const QString leave = QStringLiteral("変更は保存されていません。このまま終了しますか？");
    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::No, leave);
    m_frame->close();
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_TRUE(checklist.modified());

    checklist.setFilePath(u"\\list.lst");
    checklist.setReadAsUnicode(true);
    boxes.expect(MessageAnswer::Cancel, QStringLiteral("ユニコードデータにASCIIを書き戻します"))
        .expect(MessageAnswer::Yes, leave);
    m_frame->close();
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_EQ(listFile(), QByteArray("milk\r\n"));

    m_frame->show();
    checklist.setReadAsUnicode(false);
    checklist.setModified(true);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_frame->isVisible(); }));
    EXPECT_EQ(listFile(), QByteArray("\r\nmilk\r\nbread\r\n"));
}

// A file given on the command line opens in place of the last one and is remembered; one that
// cannot be opened is refused with the reason, and the last one opens.
TEST_F(TavikAppTest, StartWithAFile_OpensItInPlaceOfTheLastOne_OrSaysWhyNot)
{
    QTemporaryDir outside;
    const QString away = outside.path();
    const QString notes = m_root.writeFile(QStringLiteral("notes.md"), "x\r\n");
    const std::pair<QString, QString> refused[] = {
        {away, QStringLiteral("このファイルはデバイスのルートの外にあるため開けません。\n") + away},
        {notes, QStringLiteral("チェックリスト（.lst、.txt）ではないため開けません。\n") + notes},
    };
    for (const auto& [path, message] : refused) {
        ScriptedMessageBoxes boxes;
        boxes.expect(MessageAnswer::Ok, message);
        start(path);
        EXPECT_EQ(openFile(), u"\\list.lst") << path.toStdString();
        stop();
    }
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_root.hostPath(QStringLiteral("Shop"))));
    start(QStringLiteral("../Shop/buy.txt"));
    QDir::setCurrent(previous);
    EXPECT_EQ(openFile(), u"\\Shop\\buy.txt");
    EXPECT_EQ(ChecklistFiles::rememberedFolder(), QStringLiteral("\\Shop"));
}

// A later start with a file hands it to this copy, which writes its checklist back and opens the
// file once an open dialog has closed; a later start without one brings this copy forward.
TEST_F(TavikAppTest, LaterStart_HandsItsFileToThisCopy_OnceTheOpenDialogHasClosed)
{
    const auto startLaterCopy = [](const QStringList& arguments) {
        QProcess later;
        later.start(QStringLiteral(TAVIK_EXECUTABLE), arguments);
        // This copy answers it from its event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 20000));
        EXPECT_EQ(later.exitCode(), 0);
    };
    start();
    m_view->checklist().appendRow({Mark::None, u"bread", u""}, u"");
    m_view->checklist().setModified(true);
    ScriptedMessageBoxes boxes;  // an ordinary file is written without a question
    {
        QDialog editor(m_frame);
        editor.setModal(true);
        editor.show();
        startLaterCopy({m_root.hostPath(QStringLiteral("Shop/buy.txt"))});
        QTest::qWait(100);
        EXPECT_EQ(openFile(), u"\\list.lst");
    }
    EXPECT_TRUE(QTest::qWaitFor([this] { return openFile() == u"\\Shop\\buy.txt"; }, 5000));
    EXPECT_EQ(listFile(), QByteArray("\r\nmilk\r\nbread\r\n"));

    m_frame->showMinimized();
    startLaterCopy({});
    EXPECT_TRUE(QTest::qWaitFor([this] { return !(m_frame->windowState() & Qt::WindowMinimized); }, 5000));
    EXPECT_EQ(openFile(), u"\\Shop\\buy.txt");
}

}  // namespace
}  // namespace tavik
