#include <gtest/gtest.h>

#include "model/checklist.h"
#include "model/progress.h"
#include "model_test_util.h"

namespace tavik {
namespace {

using test::U16;
using test::U8;

ItemRow Row(std::string_view mark, std::string_view text, std::string_view date = "")
{
    return {U16(mark), U16(text), U16(date)};
}

TEST(Checklist, New_HasOneEmptyCommentAndNoRows)
{
    Checklist checklist;
    EXPECT_EQ(checklist.rowCount(), 0u);
    ASSERT_EQ(checklist.comments().size(), 1u);
    EXPECT_TRUE(checklist.comment(0).empty());
    EXPECT_FALSE(checklist.modified());
    EXPECT_FALSE(checklist.readAsUnicode());
}

TEST(Checklist, SetComment_PastTheEnd_GrowsWithEmptyEntries)
{
    Checklist checklist;
    checklist.setComment(1, u"b");
    checklist.setComment(5, u"x");
    ASSERT_EQ(checklist.comments().size(), 6u);
    EXPECT_EQ(checklist.comment(1), u"b");
    for (std::size_t i : {2u, 3u, 4u})
        EXPECT_TRUE(checklist.comment(i).empty()) << i;
    EXPECT_EQ(checklist.comment(5), u"x");
    EXPECT_TRUE(checklist.comment(99).empty());
}

TEST(Checklist, AppendReadRow_KeepsOneSpareEntryAfterTheLastRow)
{
    Checklist checklist;
    checklist.appendReadRow(u"", u"a", u"");
    checklist.appendReadRow(u"", u"b", u"");
    EXPECT_EQ(checklist.comments().size(), 3u);
}

TEST(Checklist, RowOperations_MoveCommentsWithTheirRows)
{
    Checklist checklist;
    checklist.appendRow(Row("", "a"), u"ca");
    checklist.appendRow(Row("", "b"), u"cb");
    checklist.insertRow(1, Row("○", "x", "02/12/23"), u"cx");
    ASSERT_EQ(checklist.rowCount(), 3u);
    EXPECT_EQ(U8(checklist.row(1).mark), "○");
    EXPECT_EQ(checklist.comment(1), u"cx");
    EXPECT_EQ(checklist.comment(2), u"cb");

    checklist.swapRows(0, 1);
    EXPECT_EQ(checklist.row(0).text, u"x");
    EXPECT_EQ(checklist.comment(0), u"cx");
    EXPECT_EQ(checklist.comment(1), u"ca");

    checklist.removeRow(0);
    EXPECT_EQ(checklist.row(0).text, u"a");
    EXPECT_EQ(checklist.comment(0), u"ca");
    EXPECT_EQ(checklist.comment(1), u"cb");
    EXPECT_GE(checklist.comments().size(), checklist.rowCount());

    // Out-of-range requests change nothing.
    checklist.removeRow(7);
    checklist.swapRows(0, 7);
    EXPECT_EQ(checklist.rowCount(), 2u);
}

TEST(Checklist, AppendRow_ReplacesALeftoverSpareComment)
{
    Checklist checklist;
    checklist.setComment(0, u"leftover");
    checklist.appendRow(Row("", "a"), u"");
    EXPECT_TRUE(checklist.comment(0).empty());
}

struct CounterCase {
    std::vector<std::string> marks;
    std::string expected;  // empty: nothing to count
};

TEST(Progress, CounterText_FollowsTheCountingRules)
{
    const std::vector<CounterCase> cases = {
        {{}, ""},
        {{"削", "削"}, ""},
        {{"○", "", ""}, "1/3\n33%"},
        {{"○", "○", ""}, "2/3\n66%"},  // truncated, not rounded up to 67
        {{"○", "○", "○", "○", "○"}, "5/5\n100%"},
        {{"×", "？", "○", "削"}, "1/3\n33%"},
        {{"○x", ""}, "1/2\n50%"},  // a mark that starts with ○ counts as done
    };
    for (const CounterCase& c : cases) {
        Checklist checklist;
        for (const std::string& mark : c.marks)
            checklist.appendRow(Row(mark, "item", "02/12/23"), u"");
        const std::optional<Progress> progress = ComputeProgress(checklist);
        EXPECT_EQ(progress ? U8(progress->counterText()) : "", c.expected);
    }

    Checklist many;
    many.appendRow(Row("○", "x"), u"");
    for (int i = 0; i < 100; ++i)
        many.appendRow(Row("", "x"), u"");
    EXPECT_EQ(U8(ComputeProgress(many)->counterText()), "1/101\n1%");

    Checklist almost;
    for (int i = 0; i < 1000; ++i)
        almost.appendRow(Row(i == 0 ? "" : "○", "x"), u"");
    EXPECT_EQ(U8(ComputeProgress(almost)->counterText()), "999/1000\n99%");
}

}  // namespace
}  // namespace tavik
