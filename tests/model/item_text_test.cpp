#include "model/item_text.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using namespace std::literals;
using test::U16;
using test::U8;

// Whatever an item text goes through on its way in, the file line written for it is read
// back as that one item, or the text is one that is refused: it would be read as a
// comment line, or as a marked or deleted line.
TEST(ItemText, OneLineTextsReadBackAsTheirItemOrAreRefused)
{
    const std::pair<std::string_view, const char*> cases[] = {
        {"Buy milk", "Buy milk"},
        {"  \t　Buy milk", "Buy milk"},  // leading blanks would make a comment line
        {"a\r\nb\nc\rd", "a b c d"},  // each break is one space
        {"a\r\n\r\nb ", "a  b "},
        {"\r\n x", "x"},
        {" \r\n", ""},
        {"パンX\0Y"sv, "パンXY"},  // a NUL would end what the file reads
        {"\0\x01 \x1Fx\ty\x0B"sv, "x\ty"},  // other control characters go too, but not the tab
        {"!x", "!x"},
        {"！x", "！x"},
        {".x", ".x"},
        {"．x", "．x"},
        {"○<03/03/05>済", "○<03/03/05>済"},
        {"×<", "×<"},
        {"？<a", "？<a"},
        {"\0削<メモ>"sv, "削<メモ>"},
        {"○ <x", "○ <x"},
        {"<x", "<x"},
        {"削", "削"},
        {"削 x<", "削 x<"},
    };
    for (const auto& [typed, line] : cases) {
        const std::u16string text = OneLineItemText(U16(typed));
        EXPECT_EQ(U8(text), line) << typed;
        if (text.empty())
            continue;
        Checklist checklist;
        checklist.appendRow({{}, text, {}}, u"c");
        Checklist read;
        ReadChecklist(WriteChecklist(checklist), read);
        const bool readsBack = read.rowCount() == 1 && read.row(0) == ItemRow{{}, text, {}} && read.comment(0) == u"c";
        EXPECT_NE(readsBack, ReadsAsCommentLine(text) || LineMark(text).has_value()) << typed;
    }
}

TEST(ItemText, ClipboardTextRoundTrips)
{
    // The worked example: the comment lines are written as a file holds them.
    EXPECT_EQ(U8(ItemClipboardText(u"Buy milk", u"2 l\nlow fat\n")), "Buy milk\r\n 2 l\r\n low fat\r\n");
    EXPECT_EQ(U8(ItemClipboardText(u"a", u"")), "a\r\n");

    const PastedItem back = ParsePastedItem(ItemClipboardText(u"Buy milk", u"2 l\nlow fat\n"));
    EXPECT_EQ(U8(back.text), "Buy milk");
    EXPECT_EQ(U8(back.comment), "2 l\nlow fat\n");
}

TEST(ItemText, PastedTextFromOtherProgramsSplitsAtAnyLineBreak)
{
    const struct {
        std::string_view clipboard;
        const char* text;
        const char* comment;
    } cases[] = {
        {"one line", "one line", ""},
        {"item\ncomment 1\ncomment 2", "item", "comment 1\ncomment 2\n"},  // LF alone, as Linux programs copy
        {"item\rcomment", "item", "comment\n"},
        {"item\r\n", "item", ""},
        {"\r\n\r\n  item\r\nc", "item", "c\n"},  // leading empty lines and blanks skipped
        {"item\r\na\nb\rc", "item", "a\nb\nc\n"},  // a lone LF or CR in the comment breaks it too
        {"item\r\n  a \r\n\r\n\tb", "item", "a\nb\n"},  // comment lines as a file reads them back
        {"\0\r\n\x01 パンX\0Y\r\n c\0d\x1B"sv, "パンXY", "cd\n"},  // control characters go
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
