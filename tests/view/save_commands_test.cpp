#include "platform/resource_types.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/view/view_test_fixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <csignal>
#include <sys/resource.h>

namespace tavik {
namespace {

const QString kWritten = QStringLiteral("書き込みました");
const QString kCreateEmpty = QStringLiteral("空のファイルを作成します");
const QString kEmptyFile = QStringLiteral("ファイルが空です。");

QString ReplaceQuestion(const QString& fileName)
{
    return QStringLiteral("「%1」は既にあります。上書きしますか？").arg(fileName);
}

class SaveTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        writeChecklist(QStringLiteral("a/list.lst"), u"牛乳\r\nパン\r\n");
        remember(QStringLiteral("\\a"), QStringLiteral("list.lst"));
        open();
        selectRow(0);
        m_view->executeCommand(res::IDC_MARK_BUTTON);  // an unsaved change
    }

    // The save-as dialog shows `folder` and the user types `name` and presses OK.
    void typeName(const QString& folder, const QString& name)
    {
        m_dialogs.expect(res::IDD_SAVE_AS, [folder, name](ModalDialog& dialog) {
            EXPECT_EQ(dialog.findControl<QLabel>(res::IDC_CURRENT_FOLDER)->text(), folder);
            dialog.findControl<QLineEdit>(res::IDC_ITEM_TEXT)->setText(name);
            return ScriptedDialogs::press(dialog, IDOK);
        });
    }

    QByteArray markedList() const { return Cp932(u"\r\n○<03/03/05>牛乳\r\nパン\r\n"); }

    FixedClock m_clock{QDate(2003, 3, 5)};
    ScriptedDialogs m_dialogs;
};

TEST_F(SaveTest, Save_WritesTheFileAndSaysSo)
{
    m_boxes.expect(MessageAnswer::Ok, kWritten);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), markedList());
    EXPECT_FALSE(m_view->checklist().modified());
}

TEST_F(SaveTest, SaveAs_WritesTheNewFileInTheSameFolderAndOpensIt)
{
    writeChecklist(QStringLiteral("a/b.lst.lst"), u"古い\r\n");
    typeName(QStringLiteral("\\a\\"), QStringLiteral("b.lst"));  // the extension is added all the same
    m_boxes.expect(MessageAnswer::Yes, ReplaceQuestion(QStringLiteral("b.lst.lst")));
    m_view->executeCommand(res::ID_LIST_SAVE_AS);
    EXPECT_EQ(fileBytes(QStringLiteral("a/b.lst.lst")), markedList());
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), Cp932(u"牛乳\r\nパン\r\n"));
    EXPECT_EQ(rememberedFolder(), QStringLiteral("\\a"));
    EXPECT_EQ(rememberedFileName(), QStringLiteral("b.lst.lst"));
    EXPECT_EQ(m_view->checklist().filePath(), u"\\a\\b.lst.lst");
    EXPECT_EQ(cell(0, ChecklistTableModel::kMarkColumn), QStringLiteral("○"));
    EXPECT_FALSE(m_view->checklist().modified());
}

TEST_F(SaveTest, NewFile_WritesTheOpenChangesToTheirFileAndOpensAnEmptyOne)
{
    m_boxes.expect(MessageAnswer::Ok, kCreateEmpty);
    typeName(QStringLiteral("\\a\\"), QStringLiteral("new"));
    m_boxes.expect(MessageAnswer::Ok, kEmptyFile);
    m_view->executeCommand(res::ID_NEW_LIST);
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), markedList());
    EXPECT_EQ(fileBytes(QStringLiteral("a/new.lst")), QByteArray());
    EXPECT_EQ(rememberedFileName(), QStringLiteral("new.lst"));
    EXPECT_EQ(m_view->listModel()->rowCount(), 0);
}

TEST_F(SaveTest, SaveAsAndNewFile_RefuseEmptyAndUnusableNames)
{
    const QString names[] = {QString(), QStringLiteral("a\\b"), QStringLiteral("../x"), QStringLiteral("tab\there"),
        QStringLiteral(".."), QStringLiteral(".")};
    for (const QString& name : names) {
        typeName(QStringLiteral("\\a\\"), name);
        m_boxes.expect(MessageAnswer::Ok,
            name.isEmpty() ? QStringLiteral("ファイル名が空っぽ？")
                           : QStringLiteral("ファイル名に使えない文字が含まれています。"));
        m_view->executeCommand(res::ID_LIST_SAVE_AS);
    }
    m_boxes.expect(MessageAnswer::Ok, kCreateEmpty);
    m_dialogs.expectAnswer(res::IDD_SAVE_AS, IDCANCEL);
    m_view->executeCommand(res::ID_NEW_LIST);
    EXPECT_EQ(QDir(m_root.hostPath(QStringLiteral("a"))).entryList(QDir::Files), QStringList{"list.lst"});
    EXPECT_EQ(rememberedFileName(), QStringLiteral("list.lst"));
    EXPECT_TRUE(m_view->checklist().modified());
}

// Save As and New file onto the name of another file ask first; "No" ends the command with
// nothing written and nothing remembered. The name is found as the device finds it, ignoring
// case, so the open file under another spelling is simply rewritten.
TEST_F(SaveTest, SaveAsAndNewFile_AskBeforeReplacingAnotherFile)
{
    writeChecklist(QStringLiteral("a/Other.lst"), u"他\r\n");
    const QByteArray other = fileBytes(QStringLiteral("a/Other.lst"));
    const QByteArray open = fileBytes(QStringLiteral("a/list.lst"));
    for (const int command : {res::ID_LIST_SAVE_AS, res::ID_NEW_LIST}) {
        for (const QString& typed : {QStringLiteral("Other"), QStringLiteral("OTHER")}) {
            const QString name = typed + QStringLiteral(".lst");
            if (command == res::ID_NEW_LIST)
                m_boxes.expect(MessageAnswer::Ok, kCreateEmpty);
            typeName(QStringLiteral("\\a\\"), typed);
            m_boxes.expect(MessageAnswer::No, ReplaceQuestion(name));
            m_view->executeCommand(command);
            ASSERT_EQ(m_boxes.pending(), 0) << name.toStdString();
            EXPECT_EQ(m_boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
            EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Warning);
            EXPECT_EQ(fileBytes(QStringLiteral("a/Other.lst")), other);
            EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), open);
            EXPECT_EQ(rememberedFolder(), QStringLiteral("\\a"));
            EXPECT_EQ(rememberedFileName(), QStringLiteral("list.lst"));
            EXPECT_EQ(m_view->checklist().filePath(), u"\\a\\list.lst");
            EXPECT_TRUE(m_view->checklist().modified());
        }
    }

    // Each command below starts again from \a\list.lst, so the dialog shows the same folder.
    const auto reopen = [this] {
        remember(QStringLiteral("\\a"), QStringLiteral("list.lst"));
        m_view->files().OpenRememberedFile();
    };
    // Save As onto the open file, typed in capitals: no question.
    typeName(QStringLiteral("\\a\\"), QStringLiteral("LIST"));
    m_view->executeCommand(res::ID_LIST_SAVE_AS);
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), markedList());

    // "Yes" empties the other file, whichever spelling it was asked under.
    reopen();
    m_boxes.expect(MessageAnswer::Ok, kCreateEmpty);
    typeName(QStringLiteral("\\a\\"), QStringLiteral("other"));
    m_boxes.expect(MessageAnswer::Yes, ReplaceQuestion(QStringLiteral("other.lst")))
        .expect(MessageAnswer::Ok, kEmptyFile);
    m_view->executeCommand(res::ID_NEW_LIST);
    EXPECT_EQ(fileBytes(QStringLiteral("a/Other.lst")), QByteArray());
    EXPECT_FALSE(QFile::exists(m_root.hostPath(QStringLiteral("a/other.lst"))));

    // New file onto the open file empties it without a question.
    reopen();
    m_boxes.expect(MessageAnswer::Ok, kCreateEmpty).expect(MessageAnswer::Ok, kEmptyFile);
    typeName(QStringLiteral("\\a\\"), QStringLiteral("list"));
    m_view->executeCommand(res::ID_NEW_LIST);
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), QByteArray());
}

// A write that cannot happen is reported with the file's device path, once, and the system's
// reason in Japanese; nothing claims success, the old file stays and the changes stay unsaved.
TEST_F(SaveTest, FailedWrites_AreReportedAndKeepTheChanges)
{
    const QString failed = QStringLiteral("ファイルに書き込めませんでした。\n");
    const QString host = m_root.hostPath(QStringLiteral("a/list.lst"));
    QFile::setPermissions(host, QFileDevice::ReadOwner);
    m_boxes.expect(MessageAnswer::Ok, failed + QStringLiteral("\\a\\list.lst\n許可がありません"));
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Warning);
    QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // Save As onto a file that may not be written: the checklist keeps its own file.
    m_root.writeFile(QStringLiteral("a/copy.lst"), "other");
    QFile::setPermissions(m_root.hostPath(QStringLiteral("a/copy.lst")), QFileDevice::ReadOwner);
    typeName(QStringLiteral("\\a\\"), QStringLiteral("copy"));
    m_boxes.expect(MessageAnswer::Yes, ReplaceQuestion(QStringLiteral("copy.lst"))).expect(MessageAnswer::Ok);
    m_view->executeCommand(res::ID_LIST_SAVE_AS);
    EXPECT_TRUE(m_boxes.texts().last().startsWith(failed));
    EXPECT_EQ(fileBytes(QStringLiteral("a/copy.lst")), QByteArray("other"));
    EXPECT_EQ(m_view->checklist().filePath(), u"\\a\\list.lst");
    EXPECT_EQ(rememberedFileName(), QStringLiteral("list.lst"));

    // A full disk, as a file size limit makes it.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    m_boxes.expect(MessageAnswer::Ok);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_TRUE(m_boxes.texts().last().startsWith(failed));
    EXPECT_EQ(fileBytes(QStringLiteral("a/list.lst")), Cp932(u"牛乳\r\nパン\r\n"));
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_FALSE(m_boxes.texts().contains(kWritten));
}

// With a folder entered and no file chosen there is no file to write: adding an item and saving
// say so and write nothing, the rows stay unsaved, and Save As writes them under a name.
TEST_F(SaveTest, NoFileOpen_WritesAreRefusedAndSaveAsStillWrites)
{
    const QString noFile = QStringLiteral("ファイルが開かれていません。「名前を付けて保存」で保存してください。");
    remember(QStringLiteral("\\a"), QString());
    m_view->files().OpenRememberedFile();
    ASSERT_TRUE(m_view->checklist().filePath().ends_with(u'\\'));

    m_dialogs.expect(res::IDD_ITEM, [](ModalDialog& dialog) {
        dialog.findControl<QLineEdit>(res::IDC_ITEM_TEXT)->setText(QStringLiteral("卵"));
        return ScriptedDialogs::press(dialog, IDOK);
    });
    m_boxes.expect(MessageAnswer::Ok, noFile).expect(MessageAnswer::Ok, noFile);
    m_view->executeCommand(res::IDC_ADD_ITEM);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Warning);
    EXPECT_EQ(m_view->listModel()->rowCount(), 1);
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(QDir(m_root.hostPath(QStringLiteral("a"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList{"list.lst"});

    typeName(QStringLiteral("\\a\\"), QStringLiteral("new"));
    m_view->executeCommand(res::ID_LIST_SAVE_AS);
    EXPECT_EQ(fileBytes(QStringLiteral("a/new.lst")), Cp932(u"\r\n卵\r\n"));
    EXPECT_FALSE(m_view->checklist().modified());
}

// A small file system of its own under the device root, mounted for one test: only
// root may mount, and only root needs it, since folder permissions do not stop root.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString& folder)
        : m_folder(folder)
    {
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=16k"), QStringLiteral("tavik-test"), m_folder})
            == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() const
    {
        return QProcess::execute(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), QStringLiteral("tavik-test"), m_folder})
            == 0;
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

TEST_F(ViewTest, FullDiskAndReadOnlyFolder_AreReportedAndLeaveTheOldFile)
{
    SmallFileSystem small(m_root.makeFolder(QStringLiteral("small")));
    if (!small.mounted())
        GTEST_SKIP() << "mounting needs root; the file size limit above stands for a full disk";
    writeChecklist(QStringLiteral("small/list.lst"), u"牛乳\r\n");
    remember(QStringLiteral("\\small"), QStringLiteral("list.lst"));
    open();
    const QString failed = QStringLiteral("ファイルに書き込めませんでした。\n\\small\\list.lst\n");

    // 40,000 items do not fit in 16 KB.
    for (int i = 0; i < 40000; ++i)
        m_view->checklist().appendRow({Mark::None, u"卵", u""}, u"");
    m_view->checklist().setModified(true);
    m_boxes.expect(MessageAnswer::Ok);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(m_boxes.texts().last(), failed + QStringLiteral("デバイスに空き領域がありません"));
    EXPECT_EQ(fileBytes(QStringLiteral("small/list.lst")), Cp932(u"牛乳\r\n"));
    EXPECT_EQ(QDir(m_root.hostPath(QStringLiteral("small"))).entryList(QDir::Files), QStringList{"list.lst"});

    m_view->checklist().setModified(false);
    m_view->files().LoadCurrentFile();  // back to one item
    selectRow(0);
    m_view->executeCommand(res::IDC_MARK_BUTTON);
    ASSERT_TRUE(small.makeReadOnly());
    m_boxes.expect(MessageAnswer::Ok);
    m_view->executeCommand(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(m_boxes.texts().last(), failed + QStringLiteral("読み込み専用ファイルシステムです"));
    EXPECT_TRUE(m_view->checklist().modified());
}

}  // namespace
}  // namespace tavik
