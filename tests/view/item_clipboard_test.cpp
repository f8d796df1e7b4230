#include "platform/clipboard.h"
#include "platform/command_ui.h"
#include "tests/support/fixed_clock.h"
#include "tests/view/view_test_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tavik {
namespace {

class ItemClipboardTest : public ViewTest {
protected:
    bool enabled(int command) const
    {
        CommandUi ui(command);
        m_view->updateCommand(ui);
        return ui.isEnabled();
    }
    QStringList texts() const
    {
        QStringList rows;
        for (int row = 0; row < m_view->listModel()->rowCount(); ++row)
            rows << cell(row, ChecklistTableModel::kMarkColumn) + "|" + cell(row, ChecklistTableModel::kTextColumn)
                    + "|" + cell(row, ChecklistTableModel::kDateColumn);
        return rows;
    }

    FixedClock m_clock{QDate(2003, 3, 5)};
};

TEST_F(ItemClipboardTest, CopyCutAndPaste_MoveItemsWithTheirCommentsBetweenChecklists)
{
    writeChecklist(QStringLiteral("a.lst"), u"牛乳\r\n 2 l\r\n low fat\r\n○<02/12/23>卵\r\nパン\r\n");
    writeChecklist(QStringLiteral("b.lst"), u"りんご\r\n");
    remember(QString(), QStringLiteral("a.lst"));
    open();
    EXPECT_FALSE(enabled(res::ID_ITEM_COPY));
    EXPECT_FALSE(enabled(res::ID_ITEM_CUT));
    m_view->executeCommand(res::ID_ITEM_COPY);  // nothing selected: nothing happens, no message

    selectRow(0);
    ASSERT_TRUE(enabled(res::ID_ITEM_COPY));
    m_view->executeCommand(res::ID_ITEM_COPY);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("牛乳\r\n 2 l\r\n low fat\r\n"));
    EXPECT_FALSE(m_view->checklist().modified());

    // A copy pasted into the same list: a new last row, the source unchanged.
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    EXPECT_EQ(texts().last(), QStringLiteral("|牛乳|"));
    EXPECT_EQ(m_view->checklist().comment(3), u"2 l\nlow fat\n");
    EXPECT_EQ(m_view->checklist().comment(0), u"2 l\nlow fat");
    EXPECT_EQ(m_view->GetSelectedRow(), 0);

    // Cut: the record keeps the date the row had; the row is re-dated and leaves the count.
    selectRow(1);
    m_view->executeCommand(res::ID_ITEM_CUT);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("卵\r\n"));
    EXPECT_EQ(texts().at(1), QStringLiteral("削||03/03/05"));
    EXPECT_EQ(m_view->checklist().headerComment(), u"\n削除＝＞\n卵<02/12/23>\n\n＜＝削除\n");
    EXPECT_EQ(counterText(), QStringLiteral("0/3\n0%"));
    EXPECT_TRUE(m_view->checklist().modified());

    // Into another checklist; switching files writes the first one.
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")),
        Cp932(u"\r\n 削除＝＞\r\n 卵<02/12/23>\r\n\r\n ＜＝削除\r\n\r\n牛乳\r\n 2 l\r\n low "
              u"fat\r\n削<03/03/05>\r\nパン\r\n"
              u"牛乳\r\n 2 l\r\n low fat\r\n"));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    EXPECT_EQ(texts(), (QStringList{"|りんご|", "|卵|"}));
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    EXPECT_EQ(fileBytes(QStringLiteral("b.lst")), Cp932(u"\r\nりんご\r\n卵\r\n"));
}

TEST_F(ItemClipboardTest, Paste_TakesTextFromOtherProgramsAndRefusesWhatCannotBeAnItem)
{
    writeChecklist(QStringLiteral("a.lst"), u"a\r\n");
    remember(QString(), QStringLiteral("a.lst"));
    open();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(enabled(res::ID_ITEM_PASTE_APPEND));

    // Lines broken by LF alone, as Linux programs copy them.
    Clipboard::setText(QStringLiteral("  買い物\n卵\n牛乳"));
    ASSERT_TRUE(enabled(res::ID_ITEM_PASTE_APPEND));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    EXPECT_EQ(texts().last(), QStringLiteral("|買い物|"));
    EXPECT_EQ(m_view->checklist().comment(1), u"卵\n牛乳\n");
    EXPECT_EQ(m_view->commentPane()->toPlainText(), QStringLiteral("卵\n牛乳\n"));

    Clipboard::setText(QStringLiteral("一行だけ"));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    EXPECT_EQ(texts().last(), QStringLiteral("|一行だけ|"));
    EXPECT_EQ(m_view->checklist().comment(2), u"");

    Clipboard::setText(QStringLiteral(" \r\n"));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("項目の先頭に「!」「！」「.」「．」は使えません。"));
    Clipboard::setText(QStringLiteral("!注意\r\n"));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("項目の先頭に「○<」「×<」「？<」「削<」は使えません。"));
    Clipboard::setText(QStringLiteral("削<メモ>\r\n"));
    m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
    EXPECT_EQ(m_view->listModel()->rowCount(), 3);
}

}  // namespace
}  // namespace tavik
