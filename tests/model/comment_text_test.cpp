#include "model/comment_text.h"

#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using test::U16;
using test::U8;

TEST(CommentToText, BothModes)
{
    struct Case {
        const char* comment;
        const char* display;
        const char* file;
    };
    const Case cases[] = {
        {"", "", ""}, {"a", "a", " a\r\n"}, {"a!!b!!", "a\r\nb\r\n", " a\r\n b\r\n"},
        {"a!! b", "a\r\n b", " a\r\n  b\r\n"},  // the last piece always gets a space
        {"a!! b!!c", "a\r\n b\r\nc", " a\r\n b\r\n c\r\n"},  // an earlier one that has one gets none
        {"a!!!b", "a\r\n!b", " a\r\n !b\r\n"},
        {"a!!!!b", "a\r\n\r\nb", " a\r\n\r\n b\r\n"},  // an empty piece is an empty line
        {"\tx!!y", "\tx\r\ny", " \tx\r\n y\r\n"},  // only the plain space counts
    };
    for (const Case& c : cases) {
        std::u16string display = U16(c.comment);
        std::u16string file = U16(c.comment);
        CommentToText(display, CommentMode::Display);
        CommentToText(file, CommentMode::File);
        EXPECT_EQ(U8(display), c.display) << c.comment;
        EXPECT_EQ(U8(file), c.file) << c.comment;
    }
}

TEST(TextToComment, JoinsLinesWithSeparators)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"a\r\nb", "a!!b!!"}, {"a\r\nb\r\n", "a!!b!!"}, {"a\r\n\r\nb", "a!!!!b!!"},
        {"a\nb\rc", "a!!b!!c!!"},  // clipboard text may end lines with LF or CR alone
    };
    for (const auto& [text, comment] : cases) {
        std::u16string converted = U16(text);
        TextToComment(converted);
        EXPECT_EQ(U8(converted), comment) << text;
    }
}

TEST(DeletionRecord, HoldsTextDateAndCommentBetweenTheMarkers)
{
    EXPECT_EQ(U8(DeletionRecord({Mark::Cross, u"卵", u"02/12/22"}, u"")), "!!削除＝＞!!卵<02/12/22>!!!!＜＝削除!!");
    EXPECT_EQ(U8(DeletionRecord({Mark::None, u"x", u""}, u"c!!d")), "!!削除＝＞!!x<>!!c!!d!!＜＝削除!!");
}

}  // namespace
}  // namespace tavik
