#include "model/item_operations.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace tavik {
namespace {

using test::AnsiFile;
using test::ChangeRecorder;
using test::RowTexts;
using test::U8;

constexpr Day kToday{2003, 3, 5};  // "03/03/05"

// Every mark once, a deleted row, and two rows dated the same day; rows as read from a
// file and one changed since.
void FillStartList(Checklist& checklist)
{
    ParseChecklistText(u"○<02/12/23>牛乳\n 低脂肪\n 2本\nパン\n×<02/12/22>卵\n"
                       u"？<02/12/21>消しゴム\n gone\n？<02/12/21>電池\n x\n",
        checklist);
    checklist.updateRow(3, {.mark = Mark::Deleted, .text = u""});
    checklist.setModified(false);
}

TEST(ItemOperations, EachCommandChangesRowsHeaderCountsAndTellsTheObserver)
{
    const std::vector<std::string> start
        = {"○|牛乳|02/12/23|低脂肪\n2本", "|パン||", "×|卵|02/12/22|", "削||02/12/21|gone", "？|電池|02/12/21|x"};
    struct Case {
        const char* name;
        std::function<void(Checklist&)> apply;
        std::map<std::size_t, std::string> changedRows;
        std::string header;
        std::size_t done, deleted;
        std::vector<std::string> told;
        bool modified = true;
    };
    const Case cases[] = {
        {"mark an unmarked row", [](Checklist& c) { MarkRow(c, 1, kToday); }, {{1, "○|パン|03/03/05|"}}, "", 2, 1,
            {"Cells 1-1 MD"}},
        {"mark ○", [](Checklist& c) { MarkRow(c, 0, kToday); }, {{0, "×|牛乳|03/03/05|低脂肪\n2本"}}, "", 0, 1,
            {"Cells 0-0 MD"}},
        {"mark ×", [](Checklist& c) { MarkRow(c, 2, kToday); }, {{2, "？|卵|03/03/05|"}}, "", 1, 1, {"Cells 2-2 MD"}},
        {"mark ？", [](Checklist& c) { MarkRow(c, 4, kToday); }, {{4, "○|電池|03/03/05|x"}}, "", 2, 1,
            {"Cells 4-4 MD"}},
        {"mark 削: stays, dated today", [](Checklist& c) { MarkRow(c, 3, kToday); }, {{3, "削||03/03/05|gone"}}, "", 1,
            1, {"Cells 3-3 MD"}},
        {"clear marks: deleted rows stay deleted", [](Checklist& c) { ClearMarks(c); },
            {{0, "|牛乳||低脂肪\n2本"}, {2, "|卵||"}, {4, "|電池||x"}}, "", 0, 1, {"Cells 0-4 MD"}},
        {"text typed into a deleted row makes it an undated item again",
            [](Checklist& c) { EditRow(c, 3, u"電球", u"gone", kToday); }, {{3, "|電球||gone"}}, "", 1, 0,
            {"Cells 3-3 MTDC"}},
        {"a deleted row edited empty or cut is left alone",
            [](Checklist& c) {
                EditRow(c, 3, u"", u"", kToday);
                CutRow(c, 3, kToday);
            },
            {}, "", 1, 1, {}, false},
        {"edit a dated row: re-dated", [](Checklist& c) { EditRow(c, 0, u"牛乳 1l", u"c\n", kToday); },
            {{0, "○|牛乳 1l|03/03/05|c\n"}}, "", 1, 1, {"Cells 0-0 TDC"}},
        {"edit an undated row without change: stays undated", [](Checklist& c) { EditRow(c, 1, u"パン", u"", kToday); },
            {}, "", 1, 1, {"Cells 1-1 TC"}},
        {"edit to an empty text: record with the new date and the new comment",
            [](Checklist& c) { EditRow(c, 2, u"", u"new\n", kToday); }, {{2, "削||03/03/05|new\n"}},
            "\n削除＝＞\n卵<03/03/05>\nnew\n\n＜＝削除\n", 1, 2, {"Header", "Cells 2-2 MTDC"}},
        {"delete an undated row", [](Checklist& c) { EditRow(c, 1, u"", u"", kToday); }, {{1, "削|||"}},
            "\n削除＝＞\nパン<>\n\n＜＝削除\n", 1, 2, {"Header", "Cells 1-1 MTC"}},
        {"delete a done row", [](Checklist& c) { EditRow(c, 0, u"", u"低脂肪", kToday); }, {{0, "削||03/03/05|低脂肪"}},
            "\n削除＝＞\n牛乳<03/03/05>\n低脂肪\n＜＝削除\n", 0, 2, {"Header", "Cells 0-0 MTDC"}},
        {"cut: record keeps the old date, the row is re-dated and keeps its comment",
            [](Checklist& c) { CutRow(c, 0, kToday); }, {{0, "削||03/03/05|低脂肪\n2本"}},
            "\n削除＝＞\n牛乳<02/12/23>\n低脂肪\n2本\n＜＝削除\n", 0, 2, {"Header", "Cells 0-0 MTD"}},
        {"cut an undated row", [](Checklist& c) { CutRow(c, 1, kToday); }, {{1, "削|||"}},
            "\n削除＝＞\nパン<>\n\n＜＝削除\n", 1, 2, {"Header", "Cells 1-1 MT"}},
        {"append", [](Checklist& c) { AppendItem(c, u"新しい", u"c\n"); }, {{5, "|新しい||c\n"}}, "", 1, 1,
            {"Inserted 5-5"}},
        {"move down with the comment", [](Checklist& c) { EXPECT_FALSE(MoveRow(c, 0, 1).empty()); },
            {{0, "|パン||"}, {1, "○|牛乳|02/12/23|低脂肪\n2本"}}, "", 1, 1, {"Cells 0-1 MTDC"}},
        {"move up: only the differing cells are told", [](Checklist& c) { EXPECT_FALSE(MoveRow(c, 4, -1).empty()); },
            {{3, "？|電池|02/12/21|x"}, {4, "削||02/12/21|gone"}}, "", 1, 1, {"Cells 3-4 MTC"}},
        {"move the first row up", [](Checklist& c) { EXPECT_TRUE(MoveRow(c, 0, -1).empty()); }, {}, "", 1, 1, {},
            false},
        {"move the last row down", [](Checklist& c) { EXPECT_TRUE(MoveRow(c, 4, 1).empty()); }, {}, "", 1, 1, {},
            false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Checklist checklist;
        FillStartList(checklist);
        ASSERT_EQ(RowTexts(checklist), start);
        ChangeRecorder recorder;
        recorder.attach(checklist);
        c.apply(checklist);

        std::vector<std::string> expected = start;
        for (const auto& [index, row] : c.changedRows) {
            expected.resize(std::max(expected.size(), index + 1));
            expected[index] = row;
        }
        EXPECT_EQ(RowTexts(checklist), expected);
        EXPECT_EQ(U8(checklist.headerComment()), c.header);
        EXPECT_EQ(checklist.doneCount(), c.done);
        EXPECT_EQ(checklist.deletedCount(), c.deleted);
        EXPECT_EQ(recorder.take(), c.told);
        EXPECT_EQ(checklist.modified(), c.modified);
    }
}

TEST(ItemOperations, MarkButtonCyclesWithoutReturningToEmpty_DatingEachPress)
{
    const Day days[] = {{2000, 1, 1}, {2003, 3, 5}, {2003, 3, 5}, {2024, 2, 29}, {2099, 12, 31}, {2000, 10, 10}};
    Checklist checklist;
    AppendItem(checklist, u"item", u"");
    std::vector<std::string> presses;
    for (const Day& day : days) {
        MarkRow(checklist, 0, day);
        presses.push_back(U8(MarkText(checklist.row(0).mark)) + U8(checklist.row(0).date));
    }
    EXPECT_EQ(presses,
        (std::vector<std::string>{"○00/01/01", "×03/03/05", "？03/03/05", "○24/02/29", "×99/12/31", "？00/10/10"}));
}

TEST(ItemOperations, DateText_TwoDigitYearMonthDay)
{
    const std::pair<Day, const char*> cases[] = {
        {{2003, 3, 5}, "03/03/05"},
        {{2000, 1, 1}, "00/01/01"},
        {{1999, 12, 31}, "99/12/31"},
        {{2024, 11, 9}, "24/11/09"},
    };
    for (const auto& [day, text] : cases)
        EXPECT_EQ(U8(DateText(day)), text) << day.year << "-" << day.month << "-" << day.day;
}

TEST(ItemOperations, ClearingAnEmptyList_SetsModifiedAndTellsNothing)
{
    Checklist checklist;
    ChangeRecorder recorder;
    recorder.attach(checklist);
    ClearMarks(checklist);
    EXPECT_TRUE(checklist.modified());
    EXPECT_TRUE(recorder.take().empty());
}

TEST(ItemOperations, ReadingAFile_IsToldAsAReset)
{
    Checklist checklist;
    FillStartList(checklist);
    checklist.setModified(true);
    ChangeRecorder recorder;
    recorder.attach(checklist);
    ReadChecklist(AnsiFile("a\r\n b\r\n○<03/03/05>c\r\n"), checklist);
    EXPECT_EQ(RowTexts(checklist), (std::vector<std::string>{"|a||b", "○|c|03/03/05|"}));
    EXPECT_EQ(checklist.doneCount(), 1u);
    EXPECT_EQ(checklist.deletedCount(), 0u);
    EXPECT_FALSE(checklist.modified());
    const std::vector<std::string> told = recorder.take();
    ASSERT_FALSE(told.empty());
    for (const std::string& change : told)
        EXPECT_EQ(change, "Reset");
}

}  // namespace
}  // namespace tavik
