#include "model/checklist.h"

#include "model/progress.h"
#include "model/read_aloud_text.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavik {
namespace {

using test::RowTexts;
using test::U16;
using test::U8;

std::string Counts(const Checklist& checklist)
{
    return std::to_string(checklist.doneCount()) + " done, " + std::to_string(checklist.deletedCount()) + " deleted";
}

TEST(Checklist, RowsKeepTheirCommentsThroughAppendUpdateAndSwap)
{
    Checklist checklist;
    EXPECT_TRUE(checklist.comment(0).empty());
    checklist.appendRow({Mark::None, u"a", u""}, u"ca");
    checklist.appendRow({Mark::Done, u"b", u"02/12/23"}, u"cb");
    checklist.appendRow({Mark::None, u"c", u""}, u"");
    checklist.swapRows(0, 1);
    checklist.swapRows(2, 7);  // out of range: nothing happens
    // Only the parts given change.
    checklist.updateRow(2, {.text = u"c2"});
    checklist.updateRow(1, {.comment = u"ca2"});
    checklist.updateRow(2, {.mark = Mark::Cross, .date = u"03/03/05"});
    EXPECT_EQ(RowTexts(checklist), (std::vector<std::string>{"○|b|02/12/23|cb", "|a||ca2", "×|c2|03/03/05|"}));
    EXPECT_TRUE(checklist.comment(3).empty());

    checklist.updateRow(2, {.date = u""});
    EXPECT_EQ(checklist.row(2), (ItemRow{Mark::Cross, u"c2", u""}));
}

TEST(Checklist, CountsFollowEveryChangeOfAMark)
{
    Checklist checklist;
    checklist.appendRow({Mark::Done, u"a", u"02/12/23"}, u"");
    checklist.appendRow({Mark::Deleted, u"", u"02/12/23"}, u"");
    checklist.appendRow({Mark::Done, u"c", u"02/12/23"}, u"");
    EXPECT_EQ(Counts(checklist), "2 done, 1 deleted");
    checklist.updateRow(0, {.mark = Mark::Deleted});
    checklist.updateRow(1, {.mark = Mark::Done});
    checklist.updateRow(2, {.text = u"c2"});  // no mark given: the counts stay
    checklist.swapRows(0, 2);
    EXPECT_EQ(Counts(checklist), "2 done, 1 deleted");
    checklist.clearMarksAndDates();
    EXPECT_EQ(Counts(checklist), "0 done, 1 deleted");
    EXPECT_EQ(RowTexts(checklist), (std::vector<std::string>{"|c2||", "|||", "削|a|02/12/23|"}));

    checklist.appendToHeaderComment(u"h");
    checklist.reset();
    EXPECT_EQ(checklist.rowCount(), 0u);
    EXPECT_TRUE(checklist.headerComment().empty());
    EXPECT_EQ(Counts(checklist), "0 done, 0 deleted");
}

// A caller may hand back texts it just read from the checklist, which the checklist's own
// storage holds and which move when that storage grows.
TEST(Checklist, ChangesAcceptTextsThatPointIntoTheChecklist)
{
    Checklist checklist;
    checklist.appendRow({Mark::Done, u"first", u"02/12/23"}, u"comment one");
    // Blocks allocated between the changes keep the storage from growing in place.
    std::vector<std::u16string> fences;
    for (int i = 0; i < 200; ++i) {
        fences.emplace_back(40, u'x');
        checklist.appendRow(checklist.row(0), checklist.comment(0));
        const std::size_t last = checklist.rowCount() - 1;
        const ItemRow row = checklist.row(last);
        checklist.updateRow(last, {.text = row.text, .date = row.date, .comment = checklist.comment(last)});
    }
    checklist.updateRow(1, {.text = checklist.comment(1), .comment = checklist.row(1).text});
    EXPECT_EQ(checklist.doneCount(), 201u);
    const std::vector<std::string> rows = RowTexts(checklist);
    EXPECT_EQ(rows[1], "○|comment one|02/12/23|first");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "○|first|02/12/23|comment one"), 200);
}

TEST(Progress, CounterText_FollowsTheCountingRules)
{
    const auto counter = [](std::vector<Mark> marks, int extraUnmarked = 0) {
        Checklist checklist;
        for (Mark mark : marks)
            checklist.appendRow({mark, u"item", u"02/12/23"}, u"");
        for (int i = 0; i < extraUnmarked; ++i)
            checklist.appendRow({Mark::None, u"item", u""}, u"");
        const std::optional<Progress> progress = ComputeProgress(checklist);
        return progress ? U8(progress->counterText()) : std::string("(none)");
    };
    using enum Mark;
    EXPECT_EQ(counter({}), "(none)");
    EXPECT_EQ(counter({Deleted, Deleted}), "(none)");
    EXPECT_EQ(counter({Done}, 2), "1/3\n33%");
    EXPECT_EQ(counter({Done, Done}, 1), "2/3\n66%");  // truncated, not rounded up
    EXPECT_EQ(counter({Done, Done, Done, Done, Done}), "5/5\n100%");
    EXPECT_EQ(counter({Cross, Query, Done, Deleted}), "1/3\n33%");
    EXPECT_EQ(counter({Done}, 100), "1/101\n1%");  // never 0% once something is done
    EXPECT_EQ(counter(std::vector<Mark>(999, Done), 1), "999/1000\n99%");  // never 100% before all
}

TEST(ReadAloudText, WholeListOrTheSelectedItemWithItsStoredComment)
{
    Checklist checklist;
    checklist.appendRow({Mark::Done, u"牛乳", u"03/03/05"}, u"2 l\nlow fat\n");
    checklist.appendRow({Mark::Deleted, u"", u"03/03/05"}, u"gone");
    checklist.appendRow({Mark::None, u"卵", u""}, u"");
    // Marks, dates and comments are not read; a deleted row adds only its full stop.
    EXPECT_EQ(ReadAloudText(checklist, std::nullopt), u"牛乳。。卵。");
    EXPECT_EQ(ReadAloudText(checklist, 0), u"牛乳。2 l!!low fat!!");
    EXPECT_EQ(ReadAloudText(checklist, 2), u"卵。");
    EXPECT_EQ(ReadAloudText(Checklist(), std::nullopt), u"");
}

}  // namespace
}  // namespace tavik
