#include "model/item_text.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using test::U16;
using test::U8;

// Whatever an item text goes through on its way in, the file line written for it is read
// back as that one item, or the text is recognised as one that cannot be.
TEST(ItemText, OneLineTextsReadBackAsTheirItem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Buy milk", "Buy milk"},
        {"  \t　Buy milk", "Buy milk"},  // leading blanks would make a comment line
        {"a\r\nb\nc\rd", "a b c d"},  // each break is one space
        {"a\r\n\r\nb ", "a  b "},
        {"\r\n x", "x"},
        {" \r\n", ""},
    };
    for (const auto& [typed, line] : cases) {
        const std::u16string text = OneLineItemText(U16(typed));
        EXPECT_EQ(U8(text), line) << typed;
        if (text.empty())
            continue;
        ASSERT_FALSE(ReadsAsCommentLine(text)) << typed;
        Checklist checklist;
        checklist.appendRow({{}, text, {}}, u"c");
        Checklist read;
        ReadChecklist(WriteChecklist(checklist), read);
        ASSERT_EQ(read.rowCount(), 1u) << typed;
        EXPECT_EQ(read.row(0).text, text);
        EXPECT_EQ(read.comment(0), u"c");
    }
    for (const char* prefixed : {"!x", "！x", ".x", "．x"})
        EXPECT_TRUE(ReadsAsCommentLine(OneLineItemText(U16(prefixed)))) << prefixed;
}

TEST(ItemText, ClipboardTextRoundTrips)
{
    // The worked example: the comment lines are written as a file holds them.
    EXPECT_EQ(U8(ItemClipboardText(u"Buy milk", u"2 l!!low fat!!")), "Buy milk\r\n 2 l\r\n low fat\r\n");
    EXPECT_EQ(U8(ItemClipboardText(u"a", u"")), "a\r\n");

    const PastedItem back = ParsePastedItem(ItemClipboardText(u"Buy milk", u"2 l!!low fat!!"));
    EXPECT_EQ(U8(back.text), "Buy milk");
    EXPECT_EQ(U8(back.comment), " 2 l!! low fat!!");  // leading spaces of comment lines stay
}

TEST(ItemText, PastedTextFromOtherProgramsSplitsAtAnyLineBreak)
{
    const struct {
        const char* clipboard;
        const char* text;
        const char* comment;
    } cases[] = {
        {"one line", "one line", ""},
        {"item\ncomment 1\ncomment 2", "item", "comment 1!!comment 2!!"},  // LF alone, as Linux programs copy
        {"item\rcomment", "item", "comment!!"},
        {"item\r\n", "item", ""},
        {"\r\n\r\n  item\r\nc", "item", "c!!"},  // leading empty lines and blanks skipped
        {"item\r\na\nb\rc", "item", "a!!b!!c!!"},  // a lone LF or CR in the comment breaks it too
        {" \r\n\t", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const PastedItem item = ParsePastedItem(U16(c.clipboard));
        EXPECT_EQ(U8(item.text), c.text) << c.clipboard;
        EXPECT_EQ(U8(item.comment), c.comment) << c.clipboard;
    }
}

}  // namespace
}  // namespace tavik
