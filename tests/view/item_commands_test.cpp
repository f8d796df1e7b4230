#include "itemdlg/item_dlg.h"
#include "platform/command_ui.h"
#include "platform/edit_control.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/view/view_test_fixture.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace tavik {
namespace {

// The editor as the user leaves it: the texts typed into its two edits, then a button.
std::function<int(ModalDialog&)> Type(const QString& item, const QString& comment, int button)
{
    return [=](ModalDialog& dialog) {
        EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), item);
        EditControl::setText(*dialog.findControl(res::IDC_COMMENT), comment);
        return ScriptedDialogs::press(dialog, button);
    };
}

// What the editor showed when it opened: item text and comment.
std::function<int(ModalDialog&)> Shows(QStringList& seen, std::function<int(ModalDialog&)> then)
{
    return [&seen, then](ModalDialog& dialog) {
        seen << EditControl::text(*dialog.findControl(res::IDC_ITEM_TEXT))
             << EditControl::text(*dialog.findControl(res::IDC_COMMENT));
        return then(dialog);
    };
}

class ItemCommandsTest : public ViewTest {
protected:
    void openList(std::u16string_view text)
    {
        writeChecklist(QStringLiteral("list.lst"), text);
        remember(QString(), QStringLiteral("list.lst"));
        open();
    }
    QByteArray listFile() const { return fileBytes(QStringLiteral("list.lst")); }
    bool enabled(int command) const
    {
        CommandUi ui(command);
        m_view->updateCommand(ui);
        return ui.isEnabled();
    }
    bool checked(int command) const
    {
        CommandUi ui(command);
        m_view->updateCommand(ui);
        return ui.isChecked();
    }
    // Runs a command and the commands it posted.
    void run(int command)
    {
        m_view->executeCommand(command);
        QCoreApplication::processEvents();
    }

    ScriptedDialogs m_dialogs;
    FixedClock m_clock{QDate(2003, 3, 5)};
};

TEST_F(ItemCommandsTest, Edit_OkRedatesAndWritesAtOnce_CancelChangesNothing)
{
    openList(u"○<02/12/23>牛乳\r\n 2 l\r\n low fat\r\n卵\r\n");
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("編集データを選択してください。"));
    run(res::IDC_EDIT_ITEM);

    selectRow(0);
    QStringList seen;
    m_dialogs.expect(res::IDD_ITEM, Shows(seen, [](ModalDialog& d) { return ScriptedDialogs::press(d, IDCANCEL); }));
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(seen, (QStringList{"牛乳", "2 l\r\nlow fat"}));
    EXPECT_FALSE(m_view->checklist().modified());
    EXPECT_EQ(cell(0, ChecklistTableModel::kDateColumn), QStringLiteral("02/12/23"));

    // OK without a change still re-dates the row and writes the file.
    m_dialogs.expectPress(res::IDD_ITEM, IDOK);
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(listFile(), Cp932(u"\r\n○<03/03/05>牛乳\r\n 2 l\r\n low fat\r\n卵\r\n"));
    EXPECT_EQ(m_view->commentPane()->toPlainText(), QStringLiteral("2 l\nlow fat\n"));
    EXPECT_FALSE(m_view->checklist().modified());

    // An undated row stays undated; line breaks typed into the item become spaces.
    selectRow(1);
    m_dialogs.expect(res::IDD_ITEM, Type(QStringLiteral("  卵\n10個"), QStringLiteral("Lサイズ"), IDOK));
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(listFile(), Cp932(u"\r\n○<03/03/05>牛乳\r\n 2 l\r\n low fat\r\n卵 10個\r\n Lサイズ\r\n"));
}

TEST_F(ItemCommandsTest, Edit_EmptyTextDeletesTheRowAfterAsking)
{
    openList(u"○<02/12/23>牛乳\r\n 2 l\r\n卵\r\nパン\r\n");
    const QByteArray before = listFile();
    selectRow(0);
    m_dialogs.expect(res::IDD_ITEM, Type(QString(), QStringLiteral("2 l\r\nlow fat"), res::IDC_NEXT));
    m_boxes.expect(MessageAnswer::Cancel, QStringLiteral("データが削除されます"));
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Information);
    EXPECT_EQ(listFile(), before);
    EXPECT_EQ(m_view->checklist().comment(0), u"2 l");
    EXPECT_EQ(m_view->GetSelectedRow(), 0);

    // Confirmed with "次": the row is deleted with today's date in its record, which holds
    // the edited comment, and the editor opens on the next row.
    QStringList seen;
    m_dialogs.expect(res::IDD_ITEM, Type(QString(), QStringLiteral("2 l\r\nlow fat"), res::IDC_NEXT));
    m_dialogs.expect(res::IDD_ITEM, Shows(seen, [](ModalDialog& d) { return ScriptedDialogs::press(d, IDCANCEL); }));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("データが削除されます"));
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(seen, (QStringList{"卵", ""}));
    EXPECT_EQ(cell(0, ChecklistTableModel::kMarkColumn), QStringLiteral("削"));
    EXPECT_EQ(cell(0, ChecklistTableModel::kTextColumn), QString());
    EXPECT_EQ(counterText(), QStringLiteral("0/2\n0%"));
    // Written at once, the record at the top.
    EXPECT_EQ(listFile(),
        Cp932(u"\r\n 削除＝＞\r\n 牛乳<03/03/05>\r\n 2 l\r\n low fat\r\n\r\n "
              u"＜＝削除\r\n\r\n削<03/03/05>\r\n卵\r\nパン\r\n"));
}

TEST_F(ItemCommandsTest, NextAndPrevious_StoreEachEditBeforeTheNextEditorOpens)
{
    openList(u"a\r\nb\r\nc\r\n");
    selectRow(1);
    QByteArray whenSecondOpened;
    m_dialogs.expect(res::IDD_ITEM, Type(QStringLiteral("b2"), QString(), res::IDC_PREV));
    m_dialogs.expect(res::IDD_ITEM, [&](ModalDialog& dialog) {
        whenSecondOpened = listFile();
        EXPECT_EQ(EditControl::text(*dialog.findControl(res::IDC_ITEM_TEXT)), QStringLiteral("a"));
        // "前" on the first row stores the edit and opens nothing more.
        return Type(QStringLiteral("a2"), QString(), res::IDC_PREV)(dialog);
    });
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(whenSecondOpened, Cp932(u"\r\na\r\nb2\r\nc\r\n"));
    EXPECT_EQ(listFile(), Cp932(u"\r\na2\r\nb2\r\nc\r\n"));
    EXPECT_EQ(m_view->GetSelectedRow(), 0);

    selectRow(2);
    m_dialogs.expect(res::IDD_ITEM, Type(QStringLiteral("c2"), QString(), res::IDC_NEXT));
    run(res::IDC_EDIT_ITEM);
    EXPECT_EQ(listFile(), Cp932(u"\r\na2\r\nb2\r\nc2\r\n"));
    EXPECT_EQ(m_dialogs.pending(), 0);
}

TEST_F(ItemCommandsTest, Add_AppendsTheItemAndWritesAtOnce)
{
    openList(u"a\r\n");
    selectRow(0);
    // Navigation is out of use for a new item; a comment without an item text is dropped.
    m_dialogs.expect(res::IDD_ITEM, [](ModalDialog& dialog) {
        EXPECT_FALSE(dialog.findControl(res::IDC_NEXT)->isEnabled());
        EXPECT_FALSE(dialog.findControl(res::IDC_PREV)->isEnabled());
        return Type(QString(), QStringLiteral("lost"), IDOK)(dialog);
    });
    run(res::IDC_ADD_ITEM);
    EXPECT_FALSE(m_view->checklist().modified());
    EXPECT_EQ(m_view->listModel()->rowCount(), 1);

    m_dialogs.expect(
        res::IDD_ITEM, Type(QStringLiteral("\u3000新しい項目"), QStringLiteral("一行目\r\n二行目\r\n"), IDOK));
    run(res::IDC_ADD_ITEM);
    EXPECT_EQ(listFile(), Cp932(u"\r\na\r\n新しい項目\r\n 一行目\r\n 二行目\r\n"));
    EXPECT_EQ(m_view->GetSelectedRow(), 0);
    EXPECT_EQ(counterText(), QStringLiteral("0/2\n0%"));
    EXPECT_EQ(m_view->commentPane()->toPlainText(), QStringLiteral("一行目\n二行目\n"));

    // A text that would read back as a comment line is refused and the editor stays open.
    m_dialogs.expect(res::IDD_ITEM, [this](ModalDialog& dialog) {
        m_boxes.expect(MessageAnswer::Ok, QStringLiteral("項目の先頭に「!」「！」「.」「．」は使えません。"));
        EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), QStringLiteral("！至急"));
        dialog.findControl<QAbstractButton>(IDOK)->click();
        EXPECT_FALSE(dialog.endResult());
        return ScriptedDialogs::press(dialog, IDCANCEL);
    });
    run(res::IDC_ADD_ITEM);
    EXPECT_EQ(m_view->listModel()->rowCount(), 2);
}

TEST_F(ItemCommandsTest, Moves_CarryTheCommentLoseTheSelectionAndWaitForTheNextWrite)
{
    openList(u"a\r\n ca\r\nb\r\nc\r\n cc\r\n");
    const QByteArray before = listFile();
    EXPECT_FALSE(enabled(res::ID_MOVE_UP));
    EXPECT_FALSE(enabled(res::ID_MOVE_DOWN));
    selectRow(0);
    EXPECT_FALSE(enabled(res::ID_MOVE_UP));
    EXPECT_TRUE(enabled(res::ID_MOVE_DOWN));
    run(res::ID_MOVE_UP);  // the first row up does nothing
    EXPECT_FALSE(m_view->checklist().modified());

    run(res::ID_MOVE_DOWN);
    EXPECT_EQ(cell(1, ChecklistTableModel::kTextColumn), QStringLiteral("a"));
    EXPECT_EQ(m_view->checklist().comment(1), u"ca");
    EXPECT_EQ(m_view->GetSelectedRow(), std::nullopt);
    EXPECT_FALSE(enabled(res::ID_MOVE_DOWN));
    selectRow(2);
    EXPECT_TRUE(enabled(res::ID_MOVE_UP));
    EXPECT_FALSE(enabled(res::ID_MOVE_DOWN));
    run(res::ID_MOVE_UP);
    EXPECT_EQ(listFile(), before);
    // A reordered list is a changed list: the next write keeps the new order.
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    EXPECT_EQ(listFile(), Cp932(u"\r\nb\r\nc\r\n cc\r\na\r\n ca\r\n"));
}

TEST_F(ItemCommandsTest, CommentPane_SplitsTheListRectangleAndGivesItBack)
{
    openList(u"a\r\n");
    const QRect whole = m_view->listRect();
    // Make the rectangle span 204 rows of pixels, as from 26 to 230 on the device.
    m_view->resize(m_view->width(), m_view->height() + 204 - whole.height());
    const QRect list = m_view->listRect();
    ASSERT_EQ(list.height(), 204);
    EXPECT_FALSE(checked(res::ID_SHOW_COMMENT));
    run(res::ID_SHOW_COMMENT);
    EXPECT_EQ(m_view->list()->geometry(), QRect(list.left(), list.top(), list.width(), 102));
    EXPECT_EQ(m_view->commentPane()->geometry(), QRect(list.left(), list.top() + 104, list.width(), 100));
    EXPECT_TRUE(m_view->commentPane()->isVisible());
    EXPECT_TRUE(checked(res::ID_SHOW_COMMENT));

    run(res::ID_SHOW_COMMENT);
    EXPECT_EQ(m_view->list()->geometry(), list);
    EXPECT_FALSE(m_view->commentPane()->isVisible());
    EXPECT_EQ(m_view->commentPane()->geometry(), QRect(0, 0, 1, 1));
}

}  // namespace
}  // namespace tavik
