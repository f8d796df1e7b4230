#include "model/checklist.h"

#include "model/progress.h"
#include "model/read_aloud_text.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using test::U16;
using test::U8;

TEST(Checklist, CommentList_GrowsAndKeepsOneSpareEntryAfterReadRows)
{
    Checklist checklist;
    EXPECT_EQ(checklist.comments().size(), 1u);
    checklist.appendReadRow(u"", u"a", u"");
    checklist.appendReadRow(u"", u"b", u"");
    EXPECT_EQ(checklist.comments().size(), 3u);

    checklist.setComment(5, u"x");
    ASSERT_EQ(checklist.comments().size(), 6u);
    EXPECT_TRUE(checklist.comment(4).empty());
    EXPECT_EQ(checklist.comment(5), u"x");
    EXPECT_TRUE(checklist.comment(99).empty());
}

TEST(Checklist, RowOperations_MoveCommentsWithTheirRows)
{
    Checklist checklist;
    checklist.setComment(0, u"leftover");
    checklist.appendRow({u"", u"a", u""}, u"ca");  // replaces the spare entry's leftover
    checklist.appendRow({u"", u"b", u""}, u"cb");
    checklist.insertRow(1, {u"○", u"x", u"02/12/23"}, u"cx");
    checklist.swapRows(0, 1);
    checklist.removeRow(2);
    checklist.removeRow(7);  // out of range: nothing happens
    ASSERT_EQ(checklist.rowCount(), 2u);
    EXPECT_EQ(checklist.row(0).text, u"x");
    EXPECT_EQ(checklist.comment(0), u"cx");
    EXPECT_EQ(checklist.row(1).text, u"a");
    EXPECT_EQ(checklist.comment(1), u"ca");
}

TEST(Progress, CounterText_FollowsTheCountingRules)
{
    const auto counter = [](std::vector<std::string> marks, int extraUnmarked = 0) {
        Checklist checklist;
        for (const std::string& mark : marks)
            checklist.appendRow({U16(mark), u"item", u"02/12/23"}, u"");
        for (int i = 0; i < extraUnmarked; ++i)
            checklist.appendRow({u"", u"item", u""}, u"");
        const std::optional<Progress> progress = ComputeProgress(checklist);
        return progress ? U8(progress->counterText()) : std::string("(none)");
    };
    EXPECT_EQ(counter({}), "(none)");
    EXPECT_EQ(counter({"削", "削"}), "(none)");
    EXPECT_EQ(counter({"○"}, 2), "1/3\n33%");
    EXPECT_EQ(counter({"○", "○"}, 1), "2/3\n66%");  // truncated, not rounded up
    EXPECT_EQ(counter({"○", "○", "○", "○", "○"}), "5/5\n100%");
    EXPECT_EQ(counter({"×", "？", "○", "削"}), "1/3\n33%");
    EXPECT_EQ(counter({"○x"}, 1), "1/2\n50%");  // a mark starting with ○ counts as done
    EXPECT_EQ(counter({"○"}, 100), "1/101\n1%");  // never 0% once something is done
    EXPECT_EQ(counter(std::vector<std::string>(999, "○"), 1), "999/1000\n99%");  // never 100% before all
}

TEST(ReadAloudText, WholeListOrTheSelectedItemWithItsStoredComment)
{
    Checklist checklist;
    checklist.appendRow({u"○", u"牛乳", u"03/03/05"}, u"2 l!!low fat!!");
    checklist.appendRow({u"削", u"", u"03/03/05"}, u"gone");
    checklist.appendRow({{}, u"卵", {}}, u"");
    // Marks, dates and comments are not read; a deleted row adds only its full stop.
    EXPECT_EQ(ReadAloudText(checklist, std::nullopt), u"牛乳。。卵。");
    EXPECT_EQ(ReadAloudText(checklist, 0), u"牛乳。2 l!!low fat!!");
    EXPECT_EQ(ReadAloudText(checklist, 2), u"卵。");
    EXPECT_EQ(ReadAloudText(Checklist(), std::nullopt), u"");
}

}  // namespace
}  // namespace tavik
