#include "platform/edit_control.h"
#include "platform/file_watch.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/view/view_test_fixture.h"

#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace tavik {
namespace {

const QString kUnread
    = QStringLiteral("このファイルは読み込めなかったため、書き込むと元の内容が失われます。書き込みますか？");
const QString kChanged = QStringLiteral("ファイルが他のプログラムで変更されています。上書きしますか？");
const QString kWritten = QStringLiteral("書き込みました");

// Another program at work on the device: a shell command run in the device root.
void Outside(const TemporaryDeviceRoot& root, const QString& command)
{
    QProcess shell;
    shell.setWorkingDirectory(root.hostPath());
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    ASSERT_TRUE(shell.waitForFinished(10000) && shell.exitCode() == 0) << command.toStdString();
}

class DiskChangesTest : public ViewTest {
protected:
    // "追加" answered with an item text and OK.
    void addItem(const QString& text)
    {
        m_dialogs.expect(res::IDD_ITEM, [text](ModalDialog& dialog) {
            EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), text);
            return ScriptedDialogs::press(dialog, IDOK);
        });
        m_view->executeCommand(res::IDC_ADD_ITEM);
    }
    void save(MessageAnswer question, const QString& text)
    {
        m_boxes.expect(question, text);
        if (question == MessageAnswer::Yes)
            m_boxes.expect(MessageAnswer::Ok, kWritten);
        m_view->executeCommand(res::ID_FILE_OVERWRITE);
    }

    FixedClock m_clock{QDate(2003, 3, 5)};
    ScriptedDialogs m_dialogs;
};

TEST_F(DiskChangesTest, FilesThatWereNotRead_AreOnlyOverwrittenWhenTheUserSaysSo)
{
    // Without a byte-order mark the encoding of this one cannot be told; the other is
    // a sparse file beyond the size limit.
    const QByteArray wide("a\0b\0\r\0\n\0", 8);
    m_root.writeFile(QStringLiteral("wide.lst"), wide);
    QFile big(m_root.writeFile(QStringLiteral("big.txt"), QByteArray()));
    ASSERT_TRUE(big.resize(300LL * 1024 * 1024));
    remember(QString(), QStringLiteral("wide.lst"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("コード体系を確定できません。\n読取エラーです"));
    open();

    m_boxes.expect(MessageAnswer::No, kUnread);
    addItem(QStringLiteral("牛乳"));
    EXPECT_EQ(fileBytes(QStringLiteral("wide.lst")), wide);
    EXPECT_EQ(cell(0, ChecklistTableModel::kTextColumn), QStringLiteral("牛乳"));
    EXPECT_TRUE(m_view->checklist().modified());
    save(MessageAnswer::Yes, kUnread);
    EXPECT_EQ(fileBytes(QStringLiteral("wide.lst")), Cp932(u"\r\n牛乳\r\n"));
    // Written once, the file is the checklist's own: the next write asks nothing.
    addItem(QStringLiteral("パン"));
    EXPECT_EQ(fileBytes(QStringLiteral("wide.lst")), Cp932(u"\r\n牛乳\r\nパン\r\n"));

    m_boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::No, kUnread);
    choose(QStringLiteral(" big.txt"));
    ASSERT_EQ(m_boxes.texts().size(), 5);
    EXPECT_TRUE(
        m_boxes.texts()[4].startsWith(QStringLiteral("ファイルが大きすぎます。\n\\big.txt\n314,572,800 バイト")))
        << m_boxes.texts()[4].toStdString();
    addItem(QStringLiteral("卵"));
    EXPECT_EQ(QFileInfo(big).size(), 300LL * 1024 * 1024);
}

TEST_F(DiskChangesTest, PartlyReadFilesAndUnencodableCharacters_AreWrittenOnlyWhenTheUserSaysSo)
{
    // Read up to the NUL, the file is shown in part and told as not read whole.
    const QByteArray partly = Cp932(u"牛乳\r\n卵\r\n") + QByteArray("\0", 1) + Cp932(u"パン\r\nバター\r\n");
    m_root.writeFile(QStringLiteral("list.lst"), partly);
    writeChecklist(QStringLiteral("fruit.lst"), u"牛乳\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("3行目のNUL文字から後ろは読み込めませんでした。"));
    open();
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Warning);
    EXPECT_EQ(m_view->listModel()->rowCount(), 2);
    selectRow(0);
    m_view->executeCommand(res::IDC_MARK_BUTTON);
    m_boxes.expect(MessageAnswer::No, kUnread);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), partly);
    EXPECT_TRUE(m_view->checklist().modified());

    // A character CP932 cannot hold is written as "?" only after a yes; no keeps it on screen, unwritten.
    const QString replace = QStringLiteral("保存できない文字があります（🍊）。「?」に置き換えて書き込みますか？");
    m_boxes.expect(MessageAnswer::No, kUnread)
        .expect(MessageAnswer::Yes, QStringLiteral("変更は保存されていません。破棄しますか？"));
    choose(QStringLiteral(" fruit.lst"));
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), partly);
    m_boxes.expect(MessageAnswer::No, replace);
    addItem(QStringLiteral("みかん🍊"));
    EXPECT_EQ(m_boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Warning);
    EXPECT_EQ(fileBytes(QStringLiteral("fruit.lst")), Cp932(u"牛乳\r\n"));
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("みかん🍊"));
    EXPECT_TRUE(m_view->checklist().modified());
    save(MessageAnswer::Yes, replace);
    EXPECT_EQ(fileBytes(QStringLiteral("fruit.lst")), Cp932(u"\r\n牛乳\r\nみかん?\r\n"));
    EXPECT_FALSE(m_view->checklist().modified());
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("みかん?")) << "the screen shows the file";
}

TEST_F(DiskChangesTest, FileChangedByAnotherProgram_IsNotOverwrittenUnasked)
{
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    Outside(m_root, QStringLiteral("printf 'bread\\r\\n' >> list.lst"));

    // No: the other program's version stays on disk, tavik's in the window.
    m_boxes.expect(MessageAnswer::No, kChanged);
    addItem(QStringLiteral("卵"));
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), Cp932(u"牛乳\r\nbread\r\n"));
    EXPECT_EQ(m_view->listModel()->rowCount(), 2);
    EXPECT_TRUE(m_view->checklist().modified());
    // Unsaved changes are never replaced by what is on disk.
    QTest::qWait(3 * FileWatch::kQuietMs);
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("卵"));

    save(MessageAnswer::Yes, kChanged);
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), Cp932(u"\r\n牛乳\r\n卵\r\n"));
    EXPECT_FALSE(m_view->checklist().modified());
}

TEST_F(DiskChangesTest, UnmodifiedChecklist_ShowsWhatAnotherProgramWrote_AndTheChooserFollowsTheFolder)
{
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\nパン\r\n");
    writeChecklist(QStringLiteral("other.lst"), u"茶\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    selectRow(1);
    QTest::qWait(1100);  // the chooser selects the open file a second after loading

    // A rename over the file, as careful programs save.
    Outside(m_root, QStringLiteral("printf 'milk\\r\\nbread\\r\\neggs\\r\\n' > .new && mv .new list.lst"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_view->listModel()->rowCount() == 3; }, 5000));
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("bread"));
    EXPECT_EQ(m_view->GetSelectedRow(), 1);
    // Written in place, and again after that: each change is seen.
    Outside(m_root, QStringLiteral("printf 'tea\\r\\n' >> list.lst"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_view->listModel()->rowCount() == 4; }, 5000));

    Outside(m_root, QStringLiteral("touch new.lst && rm other.lst"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return comboEntries().contains(QStringLiteral(" new.lst")); }, 5000));
    EXPECT_FALSE(comboEntries().contains(QStringLiteral(" other.lst")));
    EXPECT_EQ(comboSelection(), QStringLiteral(" list.lst"));
    // A folder made while the user has the chooser's listing open is listed once it closes.
    m_view->fileCombo()->showPopup();
    Outside(m_root, QStringLiteral("mkdir made"));
    QTest::qWait(3 * FileWatch::kQuietMs);
    m_view->fileCombo()->hidePopup();
    EXPECT_TRUE(QTest::qWaitFor([this] { return comboEntries().contains(QStringLiteral("∇[made]")); }, 5000));

    // The open file deleted: the list stays, and a write puts the file back.
    Outside(m_root, QStringLiteral("rm list.lst"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !comboEntries().contains(QStringLiteral(" list.lst")); }, 5000));
    EXPECT_EQ(m_view->listModel()->rowCount(), 4);
    addItem(QStringLiteral("卵"));
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), Cp932(u"\r\nmilk\r\nbread\r\neggs\r\ntea\r\n卵\r\n"));

    // A start in another folder that greets the user with a message: what is made there while
    // the message is up is listed.
    m_root.writeFile(QStringLiteral("made/empty.lst"), QByteArray());
    remember(QStringLiteral("\\made"), QStringLiteral("empty.lst"));
    MessageBox::standIn.set([this](const MessageRequest& request) {
        EXPECT_EQ(request.text, QStringLiteral("ファイルが空です。"));
        Outside(m_root, QStringLiteral("mkdir made/inner"));
        QTest::qWait(3 * FileWatch::kQuietMs);
        return MessageAnswer::Ok;
    });
    open();
    EXPECT_TRUE(QTest::qWaitFor([this] { return comboEntries().contains(QStringLiteral("∇[inner]")); }, 5000));
}

TEST_F(DiskChangesTest, HardLinkedFile_StaysOneFileUnderEveryName)
{
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n");
    ASSERT_EQ(link(QFile::encodeName(m_root.hostPath(QStringLiteral("list.lst"))).constData(),
                  QFile::encodeName(m_root.hostPath(QStringLiteral("same.lst"))).constData()),
        0);
    remember(QString(), QStringLiteral("list.lst"));
    open();
    addItem(QStringLiteral("卵"));
    EXPECT_EQ(fileBytes(QStringLiteral("same.lst")), Cp932(u"\r\n牛乳\r\n卵\r\n"));
    EXPECT_EQ(fileBytes(QStringLiteral("list.lst")), fileBytes(QStringLiteral("same.lst")));
}

}  // namespace
}  // namespace tavik
