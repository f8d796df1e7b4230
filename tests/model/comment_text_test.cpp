#include "model/comment_text.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using namespace std::literals;
using test::AnsiFile;
using test::U16;
using test::U8;

TEST(CommentToText, EveryMode)
{
    struct Case {
        const char* comment;
        const char* display;
        const char* file;
        const char* joined;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"a", "a", " a\r\n", "a"},
        {"a\nb\n", "a\r\nb\r\n", " a\r\n b\r\n", "a!!b!!"},
        {"a\n b", "a\r\n b", " a\r\n b\r\n", "a!! b"},  // a line led by a space gets no second one
        {"a\n\nb", "a\r\n\r\nb", " a\r\n\r\n b\r\n", "a!!!!b"},  // an empty line stays empty
        {"\tx\ny", "\tx\r\ny", " \tx\r\n y\r\n", "\tx!!y"},  // only the plain space counts
        // "!!" and a final "!" are text like any other.
        {"注意!!重要\n17時まで!\n窓口は二番", "注意!!重要\r\n17時まで!\r\n窓口は二番",
            " 注意!!重要\r\n 17時まで!\r\n 窓口は二番\r\n", "注意!!重要!!17時まで!!!窓口は二番"},
    };
    for (const Case& c : cases) {
        const std::pair<CommentMode, const char*> modes[]
            = {{CommentMode::Display, c.display}, {CommentMode::File, c.file}, {CommentMode::Joined, c.joined}};
        for (const auto& [mode, text] : modes) {
            std::u16string converted = U16(c.comment);
            CommentToText(converted, mode);
            EXPECT_EQ(U8(converted), text) << c.comment;
        }
    }
}

// A typed or pasted comment is stored as a file reads it back: after a write and a
// read the same lines come back.
TEST(TextToComment, StoresTheLinesAsAFileReadsThemBack)
{
    const std::pair<std::string_view, const char*> cases[] = {
        {"", ""},
        {"a\r\nb", "a\nb\n"},
        {"a\r\nb\r\n", "a\nb\n"},
        {"a\nb\rc", "a\nb\nc\n"},  // clipboard text may end lines with LF or CR alone
        {"a\r\n\r\n \t\r\nb", "a\nb\n"},  // empty and blank lines are dropped
        {" \t lead\r\ntrail　 \r\nin  side", "lead\ntrail\nin  side\n"},  // blanks at the ends go
        {"注意!!重要\r\n17時まで!\r\n窓口は二番", "注意!!重要\n17時まで!\n窓口は二番\n"},
        // Control characters go, the tab inside a line stays.
        {"X\0Y\x01\x1F\tZ\r\n\x0B\x0C\r\n\0"sv, "XY\tZ\n"},
    };
    for (const auto& [text, comment] : cases) {
        std::u16string converted = U16(text);
        TextToComment(converted);
        EXPECT_EQ(U8(converted), comment) << text;

        Checklist checklist;
        checklist.appendRow({Mark::None, u"item", u""}, converted);
        Checklist read;
        ReadChecklist(WriteChecklist(checklist), read);
        ASSERT_EQ(read.rowCount(), 1u) << text;
        EXPECT_EQ(U8(read.comment(0)) + (converted.empty() ? "" : "\n"), comment) << text;
    }
}

TEST(DeletionRecord, HoldsTextDateAndCommentBetweenTheMarkers)
{
    EXPECT_EQ(U8(DeletionRecord({Mark::Cross, u"卵", u"02/12/22"}, u"")), "\n削除＝＞\n卵<02/12/22>\n\n＜＝削除\n");
    EXPECT_EQ(U8(DeletionRecord({Mark::None, u"x", u""}, u"c\nd")), "\n削除＝＞\nx<>\nc\nd\n＜＝削除\n");
}

// The header block keeps the bytes earlier versions wrote. A write keeps the header
// comment in its written form: written again it gives the same lines without the
// empty ones at its ends, and a deletion record appended to it follows one empty line.
TEST(HeaderComment, WrittenOnceAndAgain)
{
    const std::string record = " 削除＝＞\r\n x<02/12/23>\r\n c\r\n ＜＝削除\r\n";
    struct Case {
        const char* lines;  // the comment lines before the first item
        bool recordBefore, recordBetween;  // a deletion record appended before either write
        std::string first, second;
    };
    const Case cases[] = {
        {"!週末の買い物", false, false, " !週末の買い物\r\n", " !週末の買い物\r\n"},
        // A record in an empty header begins with an empty line, which the next write drops.
        {"", true, false, "\r\n" + record, record},
        {" a\r\n\tb", false, true, " a\r\n b\r\n", " a\r\n b\r\n\r\n" + record},
        {" a", true, true, " a\r\n" + record, " a\r\n" + record + "\r\n" + record},
        // A blank comment line is an empty line.
        {" a\r\n \r\n b\r\n \r\n ", false, false, " a\r\n\r\n b\r\n\r\n", " a\r\n\r\n b\r\n"},
        {" a\r\n \r\n b\r\n \r\n ", false, true, " a\r\n\r\n b\r\n\r\n", " a\r\n\r\n b\r\n\r\n" + record},
        {" 17時まで!\r\n 窓口は二番\r\n 注意!!重要", false, true, " 17時まで!\r\n 窓口は二番\r\n 注意!!重要\r\n",
            " 17時まで!\r\n 窓口は二番\r\n 注意!!重要\r\n\r\n" + record},
    };
    for (const Case& c : cases) {
        Checklist checklist;
        ReadChecklist(AnsiFile(c.lines), checklist);
        const auto appendRecord = [&] {
            checklist.appendToHeaderComment(DeletionRecord({Mark::Done, u"x", u"02/12/23"}, u"c"));
        };
        if (c.recordBefore)
            appendRecord();
        EXPECT_EQ(WriteChecklist(checklist), AnsiFile(c.first + "\r\n")) << c.lines;
        if (c.recordBetween)
            appendRecord();
        EXPECT_EQ(WriteChecklist(checklist), AnsiFile(c.second + "\r\n")) << c.lines;
    }
}

}  // namespace
}  // namespace tavik
