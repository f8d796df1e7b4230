#include "platform/command_ui.h"
#include "tests/support/fixed_clock.h"
#include "tests/view/view_test_fixture.h"

#include <QHeaderView>

namespace tavik {
namespace {

using ListTest = ViewTest;

// The counting rule itself is the model's; here, that every load refreshes the counter
// and that a checklist with nothing to count leaves it as it was.
TEST_F(ListTest, Counter_FollowsEachLoadAndKeepsItsTextWithNothingToCount)
{
    writeChecklist(QStringLiteral("list.lst"), u"○<03/03/05>a\r\nb\r\nc\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    EXPECT_EQ(counterText(), QStringLiteral("1/3\n33%"));
    writeChecklist(QStringLiteral("list.lst"), u"削<03/03/05>\r\n");
    m_boxes.expect(MessageAnswer::Ok);  // one deleted line
    m_view->files().LoadCurrentFile();
    EXPECT_EQ(m_view->listModel()->rowCount(), 0);
    EXPECT_EQ(counterText(), QStringLiteral("1/3\n33%"));
}

TEST_F(ListTest, Columns_AreMeasuredInTheListFontAndKeptWhenTheFontChanges)
{
    writeChecklist(QStringLiteral("list.lst"), u"項目\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 120);
    open();
    QTableView* list = m_view->list();
    EXPECT_EQ(list->font().family(), QStringLiteral("MS ゴシック"));
    EXPECT_EQ(list->font().pointSizeF(), 12.0);
    // A date shows whole in its column: the cell looks the same when the column is wider.
    m_view->checklist().updateRow(0, {.date = u"00/00/00"});
    const QRect cell = list->visualRect(m_view->listModel()->index(0, ChecklistTableModel::kDateColumn));
    const QImage fitted = list->viewport()->grab(cell).toImage();
    const int dateWidth = list->columnWidth(2);
    list->setColumnWidth(2, dateWidth + 40);
    EXPECT_EQ(list->viewport()->grab(cell).toImage(), fitted);
    list->setColumnWidth(2, dateWidth);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2)
            + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list),
        list->width() - 2 * list->frameWidth());
    const QStringList headings{list->model()->headerData(0, Qt::Horizontal).toString(),
        list->model()->headerData(1, Qt::Horizontal).toString(),
        list->model()->headerData(2, Qt::Horizontal).toString()};
    EXPECT_EQ(headings, (QStringList{"検", "項目", "日付"}));

    const int widths[] = {list->columnWidth(0), list->columnWidth(1), list->columnWidth(2)};
    m_view->executeCommand(res::ID_FONT_LARGER);
    EXPECT_EQ(m_view->commentPane()->font().pointSizeF(), 12.5);
    EXPECT_EQ((std::vector<int>{list->columnWidth(0), list->columnWidth(1), list->columnWidth(2)}),
        (std::vector<int>(std::begin(widths), std::end(widths))));
}

TEST_F(ListTest, FontCommands_StepByHalfPointsWithinTheirLimits)
{
    writeChecklist(QStringLiteral("list.lst"), u"項目\r\n");
    open();
    const auto stored = [] { return ProfileStore::readInt(QStringLiteral("ListView"), QStringLiteral("Font"), 0); };
    const auto enabled = [this](int command) {
        CommandUi ui(command);
        m_view->updateCommand(ui);
        return ui.isEnabled();
    };
    const struct {
        int before;
        int command;
        int after;
    } steps[] = {{72, res::ID_FONT_LARGER, 77}, {72, res::ID_FONT_SMALLER, 70}, {148, res::ID_FONT_LARGER, 150},
        {150, res::ID_FONT_STANDARD, 90}, {70, res::ID_FONT_STANDARD, 90}, {90, res::ID_FONT_SMALLER, 85}};
    for (const auto& step : steps) {
        ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), step.before);
        ASSERT_TRUE(enabled(step.command)) << step.before << " " << step.command;
        m_view->executeCommand(step.command);
        EXPECT_EQ(stored(), step.after) << step.before << " " << step.command;
        EXPECT_EQ(m_view->list()->font().pointSizeF(), step.after / 10.0);
    }
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 70);
    EXPECT_FALSE(enabled(res::ID_FONT_SMALLER));
    EXPECT_TRUE(enabled(res::ID_FONT_LARGER));
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 150);
    EXPECT_FALSE(enabled(res::ID_FONT_LARGER));
    EXPECT_TRUE(enabled(res::ID_FONT_STANDARD));
}

// The cycle and the dating are the model's; the window asks for a row and shows the result.
TEST_F(ListTest, MarkButton_NeedsARowThenMarksItAndUpdatesTheCounter)
{
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n卵\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    FixedClock clock(QDate(2003, 3, 5));

    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("マークしたいデータを選択してください。"));
    m_view->executeCommand(res::IDC_MARK_BUTTON);
    EXPECT_FALSE(m_view->checklist().modified());

    selectRow(1);
    m_view->executeCommand(res::IDC_MARK_BUTTON);
    EXPECT_EQ(cell(1, ChecklistTableModel::kMarkColumn) + cell(1, ChecklistTableModel::kDateColumn),
        QStringLiteral("○03/03/05"));
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(counterText(), QStringLiteral("1/2\n50%"));
}

TEST_F(ListTest, ClearMarks_AsksThenClearsEveryMarkAndDate)
{
    writeChecklist(QStringLiteral("list.lst"), u"○<02/12/23>牛乳\r\n×<02/12/22>卵\r\n削<02/12/20>\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    m_boxes.expect(MessageAnswer::Ok);
    open();
    m_view->checklist().updateRow(1, {.mark = Mark::Deleted});
    m_view->UpdateCounter();
    EXPECT_EQ(counterText(), QStringLiteral("1/1\n100%"));

    m_boxes.expect(MessageAnswer::No, QStringLiteral("マークと日付をクリアします"));
    m_view->executeCommand(res::ID_CLEAR_MARKS);
    EXPECT_EQ(cell(0, ChecklistTableModel::kMarkColumn), QStringLiteral("○"));
    EXPECT_FALSE(m_view->checklist().modified());

    m_boxes.expect(MessageAnswer::Yes);
    m_view->executeCommand(res::ID_CLEAR_MARKS);
    EXPECT_EQ(m_boxes.shown().last().icon, MessageIcon::Question);
    EXPECT_EQ(m_boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(cell(0, 0) + cell(0, 2), QString());
    EXPECT_EQ(cell(1, 0), QStringLiteral("削")) << "a deleted row stays deleted";
    EXPECT_TRUE(m_view->checklist().modified());
    EXPECT_EQ(counterText(), QStringLiteral("0/1\n0%"));
}

}  // namespace
}  // namespace tavik
