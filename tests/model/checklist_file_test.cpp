// Files read and written byte for byte, the texts at the edges of an item, and the counter.
#include "model/checklist_file.h"

#include "model/checklist.h"
#include "model/comment_text.h"
#include "model/item_operations.h"
#include "model/item_text.h"
#include "model/progress.h"
#include "model/read_aloud_text.h"
#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using namespace std::literals;

// Texts are written and compared in UTF-8, so that failures print readably.
std::u16string U16(std::string_view utf8)
{
    return UnicodeCodec::decodeUtf8(utf8);
}
std::string U8(std::u16string_view text)
{
    return UnicodeCodec::encodeUtf8(text);
}
// The CP932 bytes of a file given in UTF-8.
std::string Cp932(std::string_view utf8)
{
    return Cp932Codec::encode(U16(utf8));
}

// The shopping list of the worked examples: comment lines under an item, a tab for a blank, a
// deleted line with a comment line of its own, and a date that is not one.
const char kShopping[] = "!週末の買い物\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n\t2本\r\nパン\r\n×<02/12/22>卵\r\n"
                         "削<02/12/20>\r\n 古い\r\n\r\n？<2/12/1>電池\r\n";

// What a file gives: its rows ("mark|text|date|comment"), the header comment, the notices the
// user is shown, the encoding, and whether it was read whole (if not, a write asks first).
TEST(ReadChecklist, FilesOfEveryKind)
{
    const std::string unicode = "ユニコードですが、書き戻すとASCIIになります。";
    const std::string utf16("a\0\r\0\n\0\x6B\x30\0\0z\0", 12);  // a CR LF に NUL z
    struct Case {
        std::string bytes;
        std::vector<std::string> rows;
        std::string header = "";
        std::vector<std::string> notices = {};
        TextEncoding encoding = TextEncoding::Ansi;
        bool whole = true;
    };
    using enum TextEncoding;
    const Case cases[] = {
        {Cp932(kShopping), {"○|牛乳|02/12/23|低脂肪\n2本", "|パン||", "×|卵|02/12/22|", "？|<2/12/1>電池||"},
            "!週末の買い物", {"削除データが 1件ありました"}},
        // No final LF; a marked line with nothing after its date makes no row.
        {Cp932("a\r\n○<02/12/23>\r\n c\r\nb"), {"|a||c", "|b||"}},
        // A date is eight characters and ">"; a line after a deleted one is read on its own.
        {Cp932("？<abc\r\n×<02/12/233>x\r\n削<02/12/20>\r\n○<02/12/23"),
            {"？|<abc||", "×|<02/12/233>x||", "○|<02/12/23||"}, "", {"削除データが 1件ありました"}},
        // Every comment prefix; blanks are trimmed, the ideographic space too; "!!" is text.
        {Cp932("a\r\n x \r\n\ty\r\n　z　\r\n!p\r\n！q\r\n.r\r\n．s\r\n !!\r\n  \r\n"),
            {"|a||x\ny\nz\n!p\n！q\n.r\n．s\n!!\n"}},
        {Cp932(" one\r\n\r\n\ttwo\r\n!three\r\nitem"), {"|item||"}, "one\ntwo\n!three"},
        // CR is dropped wherever it stands; marks without "<" make plain items.
        {Cp932("a\rb\r\n\r\r\n○ no\r\n削 x\r\n-\r"), {"|ab||", "|○ no||", "|削 x||", "|-||"}},
        {"", {}, "", {"ファイルが空です。"}},
        {"\xFF\xFE" + utf16 + "q", {"|a||", "|に||"}, "", {unicode, "2行目のNUL文字から後ろは読み込めませんでした。"},
            Utf16Le, false},
        {"\xFF\xFE" + utf16.substr(0, 8) + "q", {"|a||", "|に||"}, "",
            {unicode, "2行目にUTF-16として読めないバイトがあります。"}, Utf16Le, false},
        {"a\0b\0"s, {}, "", {"コード体系を確定できません。\n読取エラーです"}, Undetermined, false},
        // UTF-16LE without mark whose second byte is not 00: CP932 up to the NUL of its line end.
        {"\x5B\x72\x73\x4E\r\0\n\0"s, {"|[rsN||"}, "", {"1行目のNUL文字から後ろは読み込めませんでした。"}, Ansi, false},
        {Cp932("牛乳\r\n") + "\x82", {"|牛乳||", "|\uFFFD||"}, "", {"2行目にCP932として読めないバイトがあります。"},
            Ansi, false},
        {"\xEF\xBB\xBFz\n\xE3\x81x", {"|z||", "|\uFFFDx||"}, "",
            {unicode, "2行目にUTF-8として読めないバイトがあります。"}, Utf8, false},
        // Without a mark, UTF-8 needs a character of three or four bytes: half-width katakana in
        // CP932 often make two-byte ones ("ﾃｨ" is C3 A8, UTF-8 "è").
        {"牛乳\r\n", {"|牛乳||"}, "", {unicode}, Utf8},
        {"café", {"|cafﾃｩ||"}},
        {"ab\0cd"s, {"|ab||"}, "", {"1行目のNUL文字から後ろは読み込めませんでした。"}, Ansi, false},
        {"ab\0\0"s, {"|ab||"}},  // NULs alone at the end lose nothing
        // Deleted lines are told before the Unicode notice.
        {"\xEF\xBB\xBF削<02/12/20>\n削<02/12/21>\na", {"|a||"}, "", {"削除データが 2件ありました", unicode}, Utf8},
    };
    for (const Case& c : cases) {
        Checklist checklist;
        checklist.setModified(true);
        checklist.setReadAsUnicode(true);
        const ChecklistReadResult result = ReadChecklist(c.bytes, checklist);
        std::vector<std::string> rows, notices;
        for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
            const ItemRow r = checklist.row(i);
            rows.push_back(U8(MarkText(r.mark)) + "|" + U8(r.text) + "|" + U8(r.date) + "|" + U8(checklist.comment(i)));
        }
        for (const Notice& notice : result.notices)
            notices.push_back(U8(notice.text));
        EXPECT_EQ(rows, c.rows) << c.bytes;
        EXPECT_EQ(U8(checklist.headerComment()), c.header) << c.bytes;
        EXPECT_EQ(notices, c.notices) << c.bytes;
        EXPECT_EQ(result.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(checklist.readAsUnicode(), c.encoding == Utf8 || c.encoding == Utf16Le) << c.bytes;
        EXPECT_EQ(result.wholeFileRead, c.whole) << c.bytes;
        EXPECT_FALSE(checklist.modified());
    }
}

// A file read and written, then written again: the bytes earlier versions wrote. The header
// comment keeps its written form, so the second write gives the same lines, and a deletion
// record added in between follows one empty line.
TEST(WriteChecklist, FilesWrittenOnceAndAgain)
{
    const std::string row = "○<02/12/23>x\r\n c\r\n";  // the row cut
    const std::string record = " 削除＝＞\r\n x<02/12/23>\r\n c\r\n ＜＝削除\r\n\r\n削<02/12/23>\r\n";
    enum Cutting { kNoCut, kCutBefore, kCutBetween };
    const std::tuple<std::string, Cutting, std::string, std::string> cases[] = {
        {kShopping, kNoCut,
            " !週末の買い物\r\n\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n 2本\r\nパン\r\n×<02/12/22>卵\r\n<2/12/1>電池\r\n",
            ""},
        // A record in an empty header begins with an empty line, which the next write drops.
        {row, kCutBefore, "\r\n" + record, record},
        {" a\r\n\tb\r\n" + row, kCutBetween, " a\r\n b\r\n\r\n" + row, " a\r\n b\r\n\r\n" + record},
        // A blank comment line is an empty line.
        {" a\r\n \r\n b\r\n \r\n \r\n" + row, kCutBetween, " a\r\n\r\n b\r\n\r\n\r\n" + row,
            " a\r\n\r\n b\r\n\r\n" + record},
        // Half-width katakana that look like UTF-8 keep their bytes.
        {"\r\nﾃｨ\r\n", kNoCut, "\r\nﾃｨ\r\n", ""},
        {" ﾃｨ ﾘｽﾄｱ\r\n\r\nﾒｰ\r\n ﾅｲ\r\nTV ﾃｨ\r\n", kNoCut, " ﾃｨ ﾘｽﾄｱ\r\n\r\nﾒｰ\r\n ﾅｲ\r\nTV ﾃｨ\r\n", ""},
    };
    for (const auto& [file, cutting, first, second] : cases) {
        Checklist checklist;
        ReadChecklist(Cp932(file), checklist);
        const auto cut = [&] { CutRow(checklist, checklist.rowCount() - 1, {2002, 12, 23}); };
        if (cutting == kCutBefore)
            cut();
        EXPECT_EQ(WriteChecklist(checklist), Cp932(first)) << file;
        if (cutting == kCutBetween)
            cut();
        EXPECT_EQ(WriteChecklist(checklist), Cp932(second.empty() ? first : second)) << file;
    }
}

// Each character CP932 cannot hold is written as "?" and told, so that the user can be asked first.
TEST(WriteChecklist, CharactersCp932CannotHold_AreToldEachOnce)
{
    Checklist checklist;
    checklist.appendToHeaderComment(u"🍊");
    checklist.appendRow({Mark::None, u"みかん🍊", u""}, u"ok");
    checklist.appendRow({Mark::None, u"€ \xD800 é ☃ ✓ 🍞", u""}, u"🍊");  // an unpaired surrogate shows as U+FFFD
    Cp932Codec::Unencodable unencodable;
    EXPECT_EQ(WriteChecklist(checklist, &unencodable), Cp932(" ?\r\n\r\nみかん?\r\n ok\r\n? ? ? ? ? ?\r\n ?\r\n"));
    EXPECT_EQ(unencodable.count, 9u);
    EXPECT_EQ(U8(notices::UnencodableCharacters(unencodable)), "🍊、€、\uFFFD、é、☃、…");
}

// The forms an item and its comment take outside the list, on the clipboard and in the comment
// pane; and the item texts a file would read as comment lines.
TEST(ItemText, OutsideTheList)
{
    EXPECT_EQ(U8(ItemClipboardText(u"Buy milk", u"2 l\n\n low fat\n")), "Buy milk\r\n 2 l\r\n\r\n low fat\r\n");
    std::u16string shown;
    AppendCommentText(u"a\n\n b!", CommentMode::Display, shown);
    EXPECT_EQ(U8(shown), "a\r\n\r\n b!");
    for (const char* refused : {"!x", "！x", ".x", "．x", " x", "\tx", "　x"})
        EXPECT_TRUE(ReadsAsCommentLine(U16(refused))) << refused;
}

// Truncated to the percent, never 100% before all is done and never 0% once something is;
// deleted rows are left out.
TEST(Progress, CounterText)
{
    const auto counter = [](int done, int undone, int deleted) {
        Checklist checklist;
        for (int i = 0; i < done + undone + deleted; ++i) {
            const Mark mark = i < done ? Mark::Done : i < done + undone ? Mark::Cross : Mark::Deleted;
            checklist.appendRow({mark, u"item", u"02/12/23"}, u"");
        }
        const std::optional<Progress> progress = ComputeProgress(checklist);
        return progress ? U8(progress->counterText()) : "(none)";
    };
    EXPECT_EQ(counter(0, 0, 0), "(none)");
    EXPECT_EQ(counter(0, 0, 2), "(none)");
    EXPECT_EQ(counter(2, 1, 0), "2/3\n66%");
    EXPECT_EQ(counter(5, 0, 0), "5/5\n100%");
    EXPECT_EQ(counter(1, 2, 1), "1/3\n33%");
    EXPECT_EQ(counter(1, 100, 0), "1/101\n1%");
    EXPECT_EQ(counter(999, 1, 0), "999/1000\n99%");
}

// Marks, dates and comments are not read; a deleted row adds only its full stop. The speech
// program pauses at the "!!" that joins a comment's lines.
TEST(ReadAloudText, WholeListOrTheSelectedItemWithItsComment)
{
    Checklist checklist;
    checklist.appendRow({Mark::Done, u"牛乳", u"03/03/05"}, u"2 l\nlow fat\n");
    checklist.appendRow({Mark::Deleted, u"", u"03/03/05"}, u"gone");
    checklist.appendRow({Mark::None, u"卵", u""}, u"");
    EXPECT_EQ(ReadAloudText(checklist, std::nullopt), u"牛乳。。卵。");
    EXPECT_EQ(ReadAloudText(checklist, 0), u"牛乳。2 l!!low fat!!");
}

}  // namespace
}  // namespace tavik
