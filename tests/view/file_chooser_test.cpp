#include "platform/resource_types.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/view/view_test_fixture.h"

#include <QFile>
#include <QLineEdit>
#include <QtTest/QTest>

namespace tavik {
namespace {

const QString kUp = QStringLiteral("△[上のフォルダへ]");
const QString kNoFiles = QStringLiteral("ファイルが見つかりません。システムルートに戻ります。");
const QString kDiscard = QStringLiteral("変更は保存されていません。破棄しますか？");
const QString kCreateEmpty = QStringLiteral("空のファイルを作成します");
const QString kEmptyFile = QStringLiteral("ファイルが空です。");

using ChooserTest = ViewTest;

TEST_F(ChooserTest, Folder_ListsChecklistFilesThenFoldersAndUp_InSortOrder)
{
    for (const char* file : {"a.lst", "b.txt", "c.doc", "E.LST", "d/inner.lst"})
        m_root.writeFile(QStringLiteral("My Documents/") + file, "x");
    m_root.makeFolder(QStringLiteral("My Documents/x.lst"));
    remember(QStringLiteral("\\My Documents"), QString());
    open();
    // Extensions match whatever their case, as on the device; a folder named x.lst is a folder.
    EXPECT_EQ(comboEntries(), (QStringList{" a.lst", " b.txt", " E.LST", "∇[d]", "∇[x.lst]", kUp}));

    remember(QString(), QString());
    m_view->files().FillFileCombo(QString());
    EXPECT_EQ(comboEntries(), QStringList{"∇[My Documents]"}) << "the root has no up entry";
}

TEST_F(ChooserTest, MovingIntoFoldersAndUp_ListsThemAndRemembersTheFolder)
{
    m_root.writeFile(QStringLiteral("a/b/list.lst"), "x");
    m_root.writeFile(QStringLiteral("a/top.lst"), "x");
    open();
    choose(QStringLiteral("∇[a]"));
    EXPECT_EQ(rememberedFolder(), QStringLiteral("\\a"));
    EXPECT_EQ(comboEntries(), (QStringList{" top.lst", "∇[b]", kUp}));
    choose(QStringLiteral("∇[b]"));
    EXPECT_EQ(rememberedFolder(), QStringLiteral("\\a\\b"));
    EXPECT_EQ(rememberedFileName(), QString());
    choose(kUp);
    EXPECT_EQ(rememberedFolder(), QStringLiteral("\\a"));
    choose(kUp);
    EXPECT_EQ(rememberedFolder(), QString());

    // A profile holding doubled or trailing separators names the folder it means.
    const struct {
        const char* stored;
        const char* folder;
        const char* above;
    } stored[] = {{"\\", "", nullptr}, {"\\a\\\\\\", "\\a", ""}, {"\\\\a\\\\b\\", "\\a\\b", "\\a"}};
    for (const auto& c : stored) {
        remember(QString::fromUtf8(c.stored), QStringLiteral("list.lst"));
        m_view->files().OpenRememberedFile();
        EXPECT_EQ(rememberedFolder(), QString::fromUtf8(c.folder)) << c.stored;
        EXPECT_EQ(m_view->checklist().filePath(), QString::fromUtf8(c.folder).toStdU16String() + u"\\list.lst");
        EXPECT_EQ(comboEntries().contains(kUp), c.above != nullptr) << c.stored;
        if (c.above) {
            choose(kUp);
            EXPECT_EQ(rememberedFolder(), QString::fromUtf8(c.above)) << c.stored;
        }
    }
}

TEST_F(ChooserTest, EmptyOrVanishedFolder_ReturnsToTheRootWithAMessage)
{
    m_root.makeFolder(QStringLiteral("empty"));
    m_root.writeFile(QStringLiteral("root.lst"), "x");
    remember(QStringLiteral("\\gone"), QStringLiteral("list.lst"));
    m_boxes.expect(MessageAnswer::Ok, kNoFiles);
    open();
    EXPECT_EQ(rememberedFolder(), QString());
    EXPECT_EQ(comboEntries(), (QStringList{" root.lst", "∇[empty]"}));

    m_boxes.expect(MessageAnswer::Ok, kNoFiles);
    choose(QStringLiteral("∇[empty]"));
    EXPECT_EQ(rememberedFolder(), QString());
    EXPECT_EQ(m_boxes.pending(), 0);
}

// The chooser shows the open file by its own entry, also a second after loading, when its
// re-selection runs; while no file is open it shows none.
TEST_F(ChooserTest, OpenFile_IsSelectedByItsOwnEntry_NoneWhileNoFileIsOpen)
{
    writeChecklist(QStringLiteral("a.lst"), u"牛乳\r\n");
    writeChecklist(QStringLiteral("a.lst.lst"), u"茶\r\n");
    writeChecklist(QStringLiteral("b.lst"), u"パン\r\n卵\r\n");
    writeChecklist(QStringLiteral("d/inner.lst"), u"茶\r\n");
    remember(QString(), QStringLiteral("b.lst"));
    open();
    EXPECT_EQ(m_view->checklist().rowCount(), 2u);
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("卵"));
    EXPECT_EQ(comboSelection(), QStringLiteral(" b.lst"));

    choose(QStringLiteral(" a.lst"));
    EXPECT_EQ(rememberedFileName(), QStringLiteral("a.lst"));
    EXPECT_EQ(cell(0, ChecklistTableModel::kTextColumn), QStringLiteral("牛乳"));
    EXPECT_EQ(m_view->listModel()->rowCount(), 1);
    QTest::qWait(1500);
    EXPECT_EQ(comboSelection(), QStringLiteral(" a.lst"));

    choose(QStringLiteral("∇[d]"));
    EXPECT_EQ(m_view->fileCombo()->currentIndex(), -1);
    QTest::qWait(1500);
    EXPECT_EQ(m_view->fileCombo()->currentIndex(), -1) << "no file is open";
    EXPECT_EQ(m_view->listModel()->rowCount(), 0);
}

// Save As and New file leave the folder as it is: the dialog shows it ending in one "\", and
// the profile keeps it as the chooser does, so the root stays the root.
TEST_F(ChooserTest, SaveAsAndNewFile_KeepTheFolderInItsOneForm)
{
    ScriptedDialogs dialogs;
    for (const QString& folder : {QString(), QStringLiteral("\\a")}) {
        const QString prefix = folder.isEmpty() ? QString() : folder.mid(1) + QLatin1Char('/');
        writeChecklist(prefix + QStringLiteral("list.lst"), u"牛乳\r\n");
        remember(folder, QStringLiteral("list.lst"));
        open();
        const auto typeName = [&](const QString& name) {
            dialogs.expect(res::IDD_SAVE_AS, [folder, name](ModalDialog& dialog) {
                EXPECT_EQ(dialog.findControl<QLabel>(res::IDC_CURRENT_FOLDER)->text(), folder + QLatin1Char('\\'));
                dialog.findControl<QLineEdit>(res::IDC_ITEM_TEXT)->setText(name);
                return ScriptedDialogs::press(dialog, IDOK);
            });
        };
        for (const QString& name : {QStringLiteral("one"), QStringLiteral("two")}) {
            typeName(name);
            m_view->executeCommand(res::ID_LIST_SAVE_AS);
            EXPECT_EQ(rememberedFolder(), folder);
        }
        m_boxes.expect(MessageAnswer::Ok, kCreateEmpty).expect(MessageAnswer::Ok, kEmptyFile);
        typeName(QStringLiteral("three"));
        m_view->executeCommand(res::ID_NEW_LIST);
        EXPECT_EQ(rememberedFolder(), folder);
        EXPECT_EQ(m_view->checklist().filePath(), (folder + QStringLiteral("\\three.lst")).toStdU16String());
        EXPECT_TRUE(fileBytes(prefix + QStringLiteral("two.lst")).endsWith(Cp932(u"牛乳\r\n")));
        EXPECT_EQ(comboEntries().contains(kUp), !folder.isEmpty());
    }
}

TEST_F(ChooserTest, SwitchingFiles_WritesUnsavedChangesToTheOldFileFirst)
{
    writeChecklist(QStringLiteral("a.lst"), u"牛乳\r\n");
    writeChecklist(QStringLiteral("b.lst"), u"パン\r\n");
    remember(QString(), QStringLiteral("a.lst"));
    open();
    selectRow(0);
    m_view->executeCommand(res::IDC_MARK_BUTTON);
    choose(QStringLiteral(" b.lst"));
    EXPECT_TRUE(fileBytes(QStringLiteral("a.lst")).startsWith(Cp932(u"\r\n○<")));
    EXPECT_EQ(cell(0, ChecklistTableModel::kTextColumn), QStringLiteral("パン"));
}

// When the changes cannot be written, the user decides: No keeps them on screen, Yes drops them.
TEST_F(ChooserTest, SwitchingFiles_WhenTheWriteFails_AsksBeforeDroppingChanges)
{
    writeChecklist(QStringLiteral("a.lst"), u"牛乳\r\n");
    writeChecklist(QStringLiteral("b.lst"), u"パン\r\n");
    remember(QString(), QStringLiteral("a.lst"));
    open();
    QFile::setPermissions(m_root.hostPath(QStringLiteral("a.lst")), QFileDevice::ReadOwner);
    selectRow(0);
    m_view->executeCommand(res::IDC_MARK_BUTTON);

    m_boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::No, kDiscard);
    choose(QStringLiteral(" b.lst"));
    ASSERT_EQ(m_boxes.texts().size(), 2);
    EXPECT_EQ(m_boxes.shown().at(1).buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_TRUE(m_boxes.texts().at(0).startsWith(QStringLiteral("ファイルに書き込めませんでした。\n\\a.lst\n")));
    EXPECT_EQ(cell(0, ChecklistTableModel::kMarkColumn), QStringLiteral("○"));
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(rememberedFileName(), QStringLiteral("a.lst"));
    EXPECT_EQ(comboSelection(), QStringLiteral(" a.lst"));

    m_boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::Yes, kDiscard);
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(cell(0, ChecklistTableModel::kTextColumn), QStringLiteral("パン"));
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")), Cp932(u"牛乳\r\n"));
}

TEST_F(ChooserTest, Loading_ShowsTheReadersNoticesInOrder)
{
    m_root.writeFile(QStringLiteral("empty.lst"), "");
    m_root.writeFile(QStringLiteral("wide.lst"), QByteArray("\xFF\xFE", 2) + QByteArray("a\0\r\0\n\0", 6));
    writeChecklist(QStringLiteral("deleted.lst"), u"削<02/12/20>\r\n削<02/12/21>\r\nパン\r\n");
    remember(QString(), QStringLiteral("empty.lst"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルが空です。"));
    open();
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ユニコードですが、書き戻すとASCIIになります。"));
    choose(QStringLiteral(" wide.lst"));
    EXPECT_TRUE(m_view->checklist().readAsUnicode());
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("削除データが 2件ありました"));
    choose(QStringLiteral(" deleted.lst"));
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Information);
    EXPECT_EQ(counterText(), QStringLiteral("0/1\n0%"));
}

}  // namespace
}  // namespace tavik
