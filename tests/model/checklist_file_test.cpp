#include "model/checklist_file.h"

#include "model/checklist.h"
#include "model/item_operations.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using test::AnsiFile;
using test::U16;
using test::U8;

struct RowView {
    std::string mark, text, date, comment;
    friend bool operator==(const RowView&, const RowView&) = default;
    friend std::ostream& operator<<(std::ostream& os, const RowView& r)
    {
        return os << "{" << r.mark << "|" << r.text << "|" << r.date << "|" << r.comment << "}";
    }
};

std::vector<RowView> Rows(const Checklist& checklist)
{
    std::vector<RowView> rows;
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow r = checklist.row(i);
        rows.push_back({U8(MarkText(r.mark)), U8(r.text), U8(r.date), U8(checklist.comment(i))});
    }
    return rows;
}

std::vector<std::string> NoticeTexts(const ChecklistReadResult& result)
{
    std::vector<std::string> texts;
    for (const Notice& n : result.notices)
        texts.push_back(U8(n.text));
    return texts;
}

// The shopping list of the worked examples, as a file in CP932.
const std::string kShoppingFile = AnsiFile("!週末の買い物\r\n"
                                           "○<02/12/23>牛乳\r\n"
                                           " 低脂肪\r\n"
                                           "\t2本\r\n"
                                           "パン\r\n"
                                           "×<02/12/22>卵\r\n"
                                           "削<02/12/20>\r\n"
                                           "\r\n"
                                           "？<2/12/1>電池\r\n");

TEST(ReadChecklist, ShoppingList_GivesRowsCommentsHeaderAndDeletedCount)
{
    Checklist checklist;
    const ChecklistReadResult result = ReadChecklist(kShoppingFile, checklist);

    EXPECT_EQ(result.encoding, TextEncoding::Ansi);
    EXPECT_EQ(U8(checklist.headerComment()), "!週末の買い物");
    EXPECT_EQ(Rows(checklist),
        (std::vector<RowView>{
            {"○", "牛乳", "02/12/23", "低脂肪\n2本"},
            {"", "パン", "", ""},
            {"×", "卵", "02/12/22", ""},
            {"？", "<2/12/1>電池", "", ""},
        }));
    EXPECT_EQ(checklist.doneCount(), 1u);
    EXPECT_EQ(checklist.deletedCount(), 0u);
    EXPECT_EQ(result.deletedCount, 1);
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_EQ(U8(result.notices[0].text), "削除データが 1件ありました");
    EXPECT_EQ(result.notices[0].icon, NoticeIcon::Information);
    EXPECT_FALSE(checklist.readAsUnicode());
}

TEST(WriteChecklist, ShoppingList_WritesTheDefinedLines)
{
    Checklist checklist;
    ReadChecklist(kShoppingFile, checklist);
    EXPECT_EQ(WriteChecklist(checklist),
        AnsiFile(" !週末の買い物\r\n"
                 "\r\n"
                 "○<02/12/23>牛乳\r\n"
                 " 低脂肪\r\n"
                 " 2本\r\n"
                 "パン\r\n"
                 "×<02/12/22>卵\r\n"
                 "<2/12/1>電池\r\n"));
}

TEST(WriteChecklist, DeletedRow_WritesItsRecordInTheHeaderAndReadsBack)
{
    Checklist checklist;
    ReadChecklist(kShoppingFile, checklist);
    // Deleted through the editor on the day the row already carries, so its date stays.
    EditRow(checklist, 2, u"", u"", {2002, 12, 22});
    EXPECT_EQ(U8(checklist.headerComment()), "!週末の買い物\n削除＝＞\n卵<02/12/22>\n\n＜＝削除\n");

    const std::string written = WriteChecklist(checklist);
    EXPECT_EQ(written,
        AnsiFile(" !週末の買い物\r\n"
                 " 削除＝＞\r\n"
                 " 卵<02/12/22>\r\n"
                 "\r\n"
                 " ＜＝削除\r\n"
                 "\r\n"
                 "○<02/12/23>牛乳\r\n"
                 " 低脂肪\r\n"
                 " 2本\r\n"
                 "パン\r\n"
                 "削<02/12/22>\r\n"
                 "<2/12/1>電池\r\n"));

    Checklist reread;
    const ChecklistReadResult result = ReadChecklist(written, reread);
    EXPECT_EQ(U8(reread.headerComment()), "!週末の買い物\n削除＝＞\n卵<02/12/22>\n＜＝削除");
    EXPECT_EQ(result.deletedCount, 1);
    EXPECT_EQ(reread.rowCount(), 3u);
}

TEST(WriteChecklist, HeaderIsConvertedInPlace_AndALaterRecordGetsAnEmptyLineBeforeIt)
{
    Checklist checklist;
    ReadChecklist(kShoppingFile, checklist);
    const std::string first = WriteChecklist(checklist);
    EXPECT_EQ(U8(checklist.headerComment()), " !週末の買い物\n");

    // Writing again without a change writes the same lines.
    EXPECT_EQ(WriteChecklist(checklist), first);

    EditRow(checklist, 1, u"", u"", {2003, 3, 5});
    const std::string third = WriteChecklist(checklist);
    EXPECT_EQ(third.substr(0, third.find(AnsiFile("\r\n○"))),
        AnsiFile(" !週末の買い物\r\n"
                 "\r\n"
                 " 削除＝＞\r\n"
                 " パン<>\r\n"
                 "\r\n"
                 " ＜＝削除\r\n"));
}

TEST(ReadChecklist, LineClasses)
{
    struct Case {
        const char* file;
        std::vector<RowView> rows;
        const char* header;
    };
    const std::vector<Case> cases = {
        // No final LF: the last line is read like the others.
        {"a\r\nb", {{"", "a", "", ""}, {"", "b", "", ""}}, ""},
        // A marked line with nothing after ">" makes no row; its comments go to the row before.
        {"a\r\n○<02/12/23>\r\n c", {{"", "a", "", "c"}}, ""},
        // "？<abc": marked, no date, the text keeps the "<".
        {"？<abc", {{"？", "<abc", "", ""}}, ""},
        // ">" anywhere but index 10: no date.
        {"×<02/12/233>x", {{"×", "<02/12/233>x", "", ""}}, ""},
        // Every comment prefix; "!" and "．" stay, white space is trimmed (the ideographic space too).
        {"a\r\n x \r\n\ty\r\n　z　\r\n!p\r\n！q\r\n.r\r\n．s", {{"", "a", "", "x\ny\nz\n!p\n！q\n.r\n．s"}}, ""},
        // A line of "!!" alone is a line like any other; a blank comment line adds an empty one.
        {"a\r\n !!\r\nb\r\n x\r\n  \r\n", {{"", "a", "", "!!"}, {"", "b", "", "x\n"}}, ""},
        // Several comment lines before the first item form the header comment.
        {" one\r\n\r\n\ttwo\r\n!three\r\nitem", {{"", "item", "", ""}}, "one\ntwo\n!three"},
        // CR is dropped wherever it stands; a lone CR line is empty.
        {"a\rb\r\n\r\r\nc\r", {{"", "ab", "", ""}, {"", "c", "", ""}}, ""},
        // Other prefixes and the marks without "<" are plain items.
        {"○ no\r\n削 x\r\n-", {{"", "○ no", "", ""}, {"", "削 x", "", ""}, {"", "-", "", ""}}, ""},
    };
    for (const Case& c : cases) {
        Checklist checklist;
        ReadChecklist(AnsiFile(c.file), checklist);
        EXPECT_EQ(Rows(checklist), c.rows) << c.file;
        EXPECT_EQ(U8(checklist.headerComment()), c.header) << c.file;
    }
}

TEST(ReadChecklist, Encodings)
{
    const std::string utf16Body("a\0\r\0\n\0"
                                "\x6B\x30"
                                "\0\0"
                                "z\0",
        12);  // a CR LF に NUL z
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::vector<std::string> notices;
        std::vector<std::string> texts;
        bool unicode;
        bool whole = true;  // read whole: a write asks nothing on that account
    };
    const std::vector<Case> cases = {
        {"", TextEncoding::Ansi, {"ファイルが空です。"}, {}, false},
        {"x", TextEncoding::Ansi, {}, {"x"}, false},
        {"\xFF\xFE" + utf16Body + "q", TextEncoding::Utf16Le,  // the text ends at the NUL
            {"ユニコードですが、書き戻すとASCIIになります。", "2行目のNUL文字から後ろは読み込めませんでした。"},
            {"a", "に"}, true, false},
        {"\xFF\xFE" + utf16Body.substr(0, 8) + "q", TextEncoding::Utf16Le,  // half a unit at the end
            {"ユニコードですが、書き戻すとASCIIになります。", "2行目にUTF-16として読めないバイトがあります。"},
            {"a", "に"}, true, false},
        {std::string("a\0b\0", 4), TextEncoding::Undetermined, {"コード体系を確定できません。\n読取エラーです"}, {},
            false, false},
        // UTF-16LE without mark whose second byte is not 00: read as CP932 up to the NUL of its line end.
        {std::string("\x5B\x72\x73\x4E\r\0\n\0", 8), TextEncoding::Ansi,
            {"1行目のNUL文字から後ろは読み込めませんでした。"}, {"[rsN"}, false, false},
        // A big-endian mark is not recognised: its second byte is not 00, so it is ANSI, and not CP932.
        {std::string("\xFE\xFF\0a", 4), TextEncoding::Ansi,
            {"1行目にCP932として読めないバイトがあります。", "1行目のNUL文字から後ろは読み込めませんでした。"},
            {"\xEF\xBF\xBD\xEF\xBF\xBD"}, false, false},
        {AnsiFile("牛乳\r\n") + "\x82", TextEncoding::Ansi, {"2行目にCP932として読めないバイトがあります。"},
            {"牛乳", "\xEF\xBF\xBD"}, false, false},
        {"\xEF\xBB\xBF"
         "a\n\xE3\x81x",
            TextEncoding::Utf8,
            {"ユニコードですが、書き戻すとASCIIになります。", "2行目にUTF-8として読めないバイトがあります。"},
            {"a", "\xEF\xBF\xBDx"}, true, false},
        {"\xEF\xBB\xBF"
         "牛乳\nパン",
            TextEncoding::Utf8, {"ユニコードですが、書き戻すとASCIIになります。"}, {"牛乳", "パン"}, true},
        // Without a mark, UTF-8 needs a character of three or four bytes; two-byte ones alone
        // are read as CP932, as half-width katakana often make them ("ﾃｨ" is C3 A8, UTF-8 "è").
        {"牛乳\r\n", TextEncoding::Utf8, {"ユニコードですが、書き戻すとASCIIになります。"}, {"牛乳"}, true},
        {"café 🍞", TextEncoding::Utf8, {"ユニコードですが、書き戻すとASCIIになります。"}, {"café 🍞"}, true},
        {"café", TextEncoding::Ansi, {}, {"cafﾃｩ"}, false},
        {AnsiFile("ﾃｨ"), TextEncoding::Ansi, {}, {"ﾃｨ"}, false},
        {"\xEF\xBB\xBF"
         "café",
            TextEncoding::Utf8, {"ユニコードですが、書き戻すとASCIIになります。"}, {"café"}, true},
        {AnsiFile("牛乳\r\n"), TextEncoding::Ansi, {}, {"牛乳"}, false},
        {std::string("ab\0cd", 5), TextEncoding::Ansi, {"1行目のNUL文字から後ろは読み込めませんでした。"}, {"ab"},
            false, false},
        {std::string("ab\0\0", 4), TextEncoding::Ansi, {}, {"ab"}, false},  // NULs alone at the end lose nothing
        // Deleted lines are reported before the Unicode notice.
        {"\xEF\xBB\xBF削<02/12/20>\n削<02/12/21>\na", TextEncoding::Utf8,
            {"削除データが 2件ありました", "ユニコードですが、書き戻すとASCIIになります。"}, {"a"}, true},
    };
    for (const Case& c : cases) {
        Checklist checklist;
        checklist.setModified(true);
        checklist.setReadAsUnicode(!c.unicode);
        const ChecklistReadResult result = ReadChecklist(c.bytes, checklist);
        EXPECT_EQ(result.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(NoticeTexts(result), c.notices) << c.bytes;
        std::vector<std::string> texts;
        for (const RowView& r : Rows(checklist))
            texts.push_back(r.text);
        EXPECT_EQ(texts, c.texts) << c.bytes;
        EXPECT_EQ(checklist.readAsUnicode(), c.unicode) << c.bytes;
        EXPECT_EQ(result.wholeFileRead, c.whole) << c.bytes;
        EXPECT_FALSE(checklist.modified());
    }
}

// Files of ASCII and half-width katakana in CP932 that happen to be well-formed
// UTF-8 of two-byte characters are read as CP932 and written back byte for byte.
TEST(ReadChecklist, KatakanaThatLooksLikeUtf8_RoundTripsAsAnsi)
{
    const char* const files[] = {
        "\r\nﾃｨ\r\n",
        " ﾃｨ ﾘｽﾄｱ\r\n\r\nﾒｰ\r\n ﾅｲ\r\nTV ﾃｨ\r\n",
    };
    for (const char* file : files) {
        const std::string bytes = AnsiFile(file);
        ASSERT_EQ(UnicodeCodec::longestUtf8Sequence(bytes), 2u) << file;
        Checklist checklist;
        const ChecklistReadResult result = ReadChecklist(bytes, checklist);
        EXPECT_EQ(result.encoding, TextEncoding::Ansi) << file;
        EXPECT_EQ(NoticeTexts(result), std::vector<std::string>()) << file;
        EXPECT_FALSE(checklist.readAsUnicode()) << file;
        EXPECT_EQ(WriteChecklist(checklist), bytes) << file;
    }
}

// A deleted row's comment lives in its deletion record, so it is neither written
// under the row nor, in files from elsewhere, added to the row above; an item text
// holding "!!" stays one line.
TEST(WriteChecklist, DeletedRowsAndSeparatorsInItemText)
{
    Checklist checklist;
    checklist.appendRow({Mark::None, u"keep!!this", u""}, u"mine");
    checklist.appendRow({Mark::Deleted, u"", u"02/12/20"}, u"gone");
    checklist.appendRow({Mark::Deleted, u"", u""}, u"gone too");
    EXPECT_EQ(WriteChecklist(checklist), AnsiFile("\r\nkeep!!this\r\n mine\r\n削<02/12/20>\r\n\r\n"));

    Checklist reread;
    ReadChecklist(AnsiFile("a!!b\r\n ca\r\n削<02/12/20>\r\n old\r\n\r\n older\r\nb\r\n cb\r\n"), reread);
    EXPECT_EQ(Rows(reread), (std::vector<RowView>{{"", "a!!b", "", "ca"}, {"", "b", "", "cb"}}));
}

// Reading what was written keeps everything the format promises to keep, and
// after one round of reading and writing the bytes stay put.
TEST(WriteChecklist, WriteReadWrite_KeepsTheContentAndSettles)
{
    Checklist checklist;
    checklist.appendToHeaderComment(u"header\nsecond");
    checklist.appendRow({Mark::Done, u"牛乳", u"02/12/23"}, u"低脂肪\n2本");
    checklist.appendRow({Mark::None, u"パン", u""}, u"");
    checklist.appendRow({Mark::Cross, u"no date", u""}, u"a\n b\nc");
    checklist.appendRow({Mark::Query, u"卵", u"02/12/22"}, u"x\n\ny\n");
    checklist.appendRow({Mark::Deleted, u"", u"02/12/20"}, u"dropped");

    const std::string first = WriteChecklist(checklist);
    Checklist reread;
    ReadChecklist(first, reread);
    EXPECT_EQ(U8(reread.headerComment()), "header\nsecond");
    EXPECT_EQ(Rows(reread),
        (std::vector<RowView>{
            {"○", "牛乳", "02/12/23", "低脂肪\n2本"}, {"", "パン", "", ""},
            {"", "no date", "", "a\nb\nc"},  // a row without a date loses its mark,
            {"？", "卵", "02/12/22", "x\ny"},  // a comment its empty lines and final line break,
        }));  // and the deleted row is gone

    const std::string second = WriteChecklist(reread);
    Checklist again;
    ReadChecklist(second, again);
    EXPECT_EQ(WriteChecklist(again), second);
}

// Each character CP932 cannot hold is written as "?" and told, so that the user can be asked first.
TEST(WriteChecklist, CharactersCp932CannotHold_AreToldEachOnce)
{
    Checklist checklist;
    checklist.appendToHeaderComment(u"🍊");
    checklist.appendRow({Mark::None, u"みかん🍊", u""}, u"ok");
    checklist.appendRow({Mark::None, u"€ \xD800 é ☃ ✓ 🍞", u""}, u"🍊");  // an unpaired surrogate shows as U+FFFD
    Cp932Codec::Unencodable unencodable;
    EXPECT_EQ(WriteChecklist(checklist, &unencodable), AnsiFile(" ?\r\n\r\nみかん?\r\n ok\r\n? ? ? ? ? ?\r\n ?\r\n"));
    EXPECT_EQ(unencodable.count, 9u);
    EXPECT_EQ(U8(notices::UnencodableCharacters(unencodable)), "🍊、€、\xEF\xBF\xBD、é、☃、…");
    Checklist plain;
    plain.appendRow({Mark::None, u"牛乳", u""}, u"");
    Cp932Codec::Unencodable none;
    WriteChecklist(plain, &none);
    EXPECT_EQ(none.count, 0u);
}

}  // namespace
}  // namespace tavik
