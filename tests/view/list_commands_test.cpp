#include "platform/command_ui.h"
#include "tests/support/fixed_clock.h"
#include "tests/view/view_test_fixture.h"

#include <QHeaderView>
#include <QScrollBar>

namespace tavik {
namespace {

using ListTest = ViewTest;

// The box of what is drawn over the background (the colour of the bottom-left pixel).
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, image.height() - 1))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The counting rule itself is the model's; here, that every load refreshes the counter
// and that a checklist with nothing to count never shows the figures of another.
TEST_F(ListTest, Counter_FollowsEachLoadAndReadsZeroWithNothingToCount)
{
    writeChecklist(QStringLiteral("list.lst"), u"○<03/03/05>a\r\nb\r\nc\r\n");
    writeChecklist(QStringLiteral("empty.lst"), u"");
    writeChecklist(QStringLiteral("deleted.lst"), u"削<03/03/05>\r\n");
    writeChecklist(QStringLiteral("folder/other.lst"), u"d\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    EXPECT_EQ(counterText(), QStringLiteral("1/3\n33%"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルが空です。"));
    choose(QStringLiteral(" empty.lst"));
    EXPECT_EQ(counterText(), QStringLiteral("0/0\n0%"));
    choose(QStringLiteral(" list.lst"));
    m_boxes.expect(MessageAnswer::Ok);  // one deleted line
    choose(QStringLiteral(" deleted.lst"));
    EXPECT_EQ(m_view->listModel()->rowCount(), 0);
    EXPECT_EQ(counterText(), QStringLiteral("0/0\n0%"));
    choose(QStringLiteral(" list.lst"));
    choose(QStringLiteral("∇[folder]"));
    EXPECT_EQ(counterText(), QStringLiteral("0/0\n0%"));
}

// Both lines whole, with background all round, above the list, for the largest figures,
// in the default and in the narrowest window, whatever the list's font; the chooser keeps
// its room.
TEST_F(ListTest, Counter_FitsAboveTheListForEveryCount)
{
    const struct {
        int done;
        int total;
        const char* shown;
    } counts[] = {{0, 0, "0/0\n0%"}, {12, 150, "12/150\n8%"}, {567, 1234, "567/1234\n45%"},
        {50000, 100000, "50000/100000\n50%"}, {1000000, 1000000, "1000000/1000000\n100%"}};
    for (const auto& count : counts) {
        // "○<03/03/05>a" in CP932 for the rows done, "a" for the others.
        m_root.writeFile(QStringLiteral("list.lst"),
            QByteArray("\x81\x9b<03/03/05>a\r\n").repeated(count.done)
                + QByteArray("a\r\n").repeated(count.total - count.done));
        remember(QString(), QStringLiteral("list.lst"));
        if (count.total == 0)
            m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルが空です。"));
        open();
        ASSERT_EQ(counterText(), QString::fromLatin1(count.shown));
        QLabel* counter = m_view->counter();
        const ComboBox* chooser = m_view->fileCombo();
        const QWidget* menuButton = m_view->findControl(res::IDC_MENU_BUTTON);
        for (const QSize size : {QSize(240, 296), m_view->minimumSize()}) {
            m_view->resize(size);
            for (const int font : {70, 150}) {
                ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), font);
                m_view->ApplyListFont(0);
                SCOPED_TRACE(std::string(count.shown) + " in a view " + std::to_string(size.width())
                    + " wide, list font " + std::to_string(font));
                const QImage fitted = counter->grab().toImage();
                const QRect ink = InkBox(fitted);
                EXPECT_TRUE(counter->rect().adjusted(1, 1, -1, -1).contains(ink));
                // Nothing is cut off: with room to spare the figures look the same.
                const QRect placed = counter->geometry();
                counter->resize(placed.size() + QSize(100, 20));
                const QImage roomy = counter->grab().toImage();
                counter->setGeometry(placed);
                EXPECT_EQ(fitted.copy(ink), roomy.copy(InkBox(roomy)));
                EXPECT_FALSE(counter->geometry().intersects(m_view->list()->geometry()));
                EXPECT_FALSE(counter->geometry().intersects(menuButton->geometry()));
                EXPECT_LT(counter->geometry().right(), chooser->geometry().left());
                EXPECT_GE(chooser->width(), 60);
            }
        }
    }
}

TEST_F(ListTest, Columns_AreMeasuredAgainInEveryFontSoThatADateShowsWhole)
{
    writeChecklist(QStringLiteral("list.lst"), u"○<00/00/00>項目\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 70);
    open();
    QTableView* list = m_view->list();
    EXPECT_EQ(list->font().family(), QStringLiteral("MS ゴシック"));
    const QStringList headings{list->model()->headerData(0, Qt::Horizontal).toString(),
        list->model()->headerData(1, Qt::Horizontal).toString(),
        list->model()->headerData(2, Qt::Horizontal).toString()};
    EXPECT_EQ(headings, (QStringList{"検", "項目", "日付"}));

    for (int size = 70; size <= 150; size += 5) {
        if (size > 70)
            m_view->executeCommand(res::ID_FONT_LARGER);
        EXPECT_EQ(list->font().pointSizeF(), size / 10.0);
        EXPECT_EQ(m_view->commentPane()->font().pointSizeF(), size / 10.0);
        // A date shows whole in its column: the cell looks the same when the column is wider.
        const QRect cell = list->visualRect(m_view->listModel()->index(0, ChecklistTableModel::kDateColumn));
        const QImage fitted = list->viewport()->grab(cell).toImage();
        const int dateWidth = list->columnWidth(2);
        list->setColumnWidth(2, dateWidth + 40);
        EXPECT_EQ(list->viewport()->grab(cell).toImage(), fitted) << size;
        list->setColumnWidth(2, dateWidth);
        // The item column takes what is left.
        EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2)
                + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list),
            list->width() - 2 * list->frameWidth())
            << size;
    }
}

// Another file opens at its top; the same file read again after a change on disk keeps its place.
TEST_F(ListTest, Scroll_AnotherFileStartsAtItsTopTheSameFileReadAgainKeepsItsPlace)
{
    const QByteArray rows = QByteArray("item\r\n").repeated(200);
    m_root.writeFile(QStringLiteral("a.lst"), rows);
    m_root.writeFile(QStringLiteral("b.lst"), rows);
    remember(QString(), QStringLiteral("a.lst"));
    open();
    QScrollBar* scroll = m_view->list()->verticalScrollBar();
    m_view->list()->scrollToBottom();
    ASSERT_GT(scroll->value(), 0);
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(scroll->value(), 0);

    m_view->list()->scrollToBottom();
    const int place = scroll->value();
    m_root.writeFile(QStringLiteral("b.lst"), rows + "more\r\n");
    ASSERT_TRUE(m_view->files().OnDiskChanged());
    ASSERT_EQ(m_view->listModel()->rowCount(), 201);
    EXPECT_EQ(scroll->value(), place);
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
