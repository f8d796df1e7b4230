#include <gtest/gtest.h>

#include "model/comment_text.h"
#include "model_test_util.h"

namespace tavik {
namespace {

using test::U16;
using test::U8;

std::string Converted(std::string_view comment, CommentMode mode)
{
    std::u16string text = U16(comment);
    CommentToText(text, mode);
    return U8(text);
}

TEST(CommentToText, DisplayMode_ReplacesEverySeparatorFromTheLeft)
{
    EXPECT_EQ(Converted("", CommentMode::Display), "");
    EXPECT_EQ(Converted("a!!b!!", CommentMode::Display), "a\r\nb\r\n");
    EXPECT_EQ(Converted("a!!!b", CommentMode::Display), "a\r\n!b");
    EXPECT_EQ(Converted("a!!!!b", CommentMode::Display), "a\r\n\r\nb");
    EXPECT_EQ(Converted("a!b", CommentMode::Display), "a!b");
}

TEST(CommentToText, FileMode_IndentsEveryLine)
{
    struct Case {
        const char* comment;
        const char* text;
    };
    const Case cases[] = {
        {"", ""},
        {"a", " a\r\n"},
        {"a!!b!!", " a\r\n b\r\n"},
        {"a!! b", " a\r\n  b\r\n"},      // the last piece always gets a space
        {"a!! b!!c", " a\r\n b\r\n c\r\n"},  // an earlier piece that starts with one does not
        {"a!!!!b", " a\r\n\r\n b\r\n"},  // an empty piece is an empty line
        {"\tx!!y", " \tx\r\n y\r\n"},    // only the plain space counts as a leading space
        {"!!", "\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Converted(c.comment, CommentMode::File), c.text) << c.comment;
}

TEST(TextToComment, JoinsLinesWithSeparators)
{
    struct Case {
        const char* text;
        const char* comment;
    };
    const Case cases[] = {
        {"", ""},
        {"a\r\nb", "a!!b!!"},
        {"a\r\nb\r\n", "a!!b!!"},
        {"a\r\n\r\nb", "a!!!!b!!"},
        {"a\nb\rc", "a!!b!!c!!"},  // clipboard text may end lines with LF or CR alone
    };
    for (const Case& c : cases) {
        std::u16string text = U16(c.text);
        TextToComment(text);
        EXPECT_EQ(U8(text), c.comment) << c.text;
    }
}

TEST(TextToComment, DisplayTextOfAReadComment_RoundTrips)
{
    std::u16string comment = u"低脂肪!!2本";
    CommentToText(comment, CommentMode::Display);
    TextToComment(comment);
    EXPECT_EQ(comment, u"低脂肪!!2本!!");
}

TEST(DeletionRecord, HoldsTextDateAndCommentBetweenTheMarkers)
{
    EXPECT_EQ(U8(DeletionRecord({u"×", u"卵", u"02/12/22"}, u"")), "!!削除＝＞!!卵<02/12/22>!!!!＜＝削除!!");
    EXPECT_EQ(U8(DeletionRecord({u"", u"x", u""}, u"c!!d")), "!!削除＝＞!!x<>!!c!!d!!＜＝削除!!");
}

}  // namespace
}  // namespace tavik
