#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model/comment_text.h"
#include "model/item_operations.h"
#include "model/item_text.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>

namespace tavik {
namespace {

using test::ChangeRecorder;
using test::U8;

// The checklist as plain data, changed by the rules written out again here.
struct RefRow {
    std::u16string mark, text, date, comment;
};
struct Reference {
    std::vector<RefRow> rows;
    std::u16string header;
    bool modified = false;
};

std::size_t CountMarks(const Reference& ref, std::u16string_view mark)
{
    std::size_t count = 0;
    for (const RefRow& row : ref.rows)
        count += row.mark == mark;
    return count;
}

std::u16string RefDate(const Day& day)
{
    const auto two = [](int n) { return std::u16string{char16_t(u'0' + n / 10 % 10), char16_t(u'0' + n % 10)}; };
    return two(day.year % 100) + u"/" + two(day.month) + u"/" + two(day.day);
}

std::u16string RefRecord(const std::u16string& text, const std::u16string& date, std::u16string_view comment)
{
    return u"\n削除＝＞\n" + text + u"<" + date + u">\n" + std::u16string(comment) + u"\n＜＝削除\n";
}

bool IsSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

// `text` without the white space at both ends, but for `kept`.
std::u16string Trim(std::u16string_view text, char16_t kept = 0)
{
    const auto trimmed = [&](char16_t c) { return IsSpace(c) && c != kept; };
    while (!text.empty() && trimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && trimmed(text.back()))
        text.remove_suffix(1);
    return std::u16string(text);
}

// The lines of a comment; a line break at its end starts no further line.
std::vector<std::u16string> Lines(std::u16string_view comment)
{
    std::vector<std::u16string> lines;
    for (std::size_t lf; !comment.empty(); comment.remove_prefix(lf + 1)) {
        lf = comment.find(u'\n');
        lines.emplace_back(comment.substr(0, lf));
        if (lf == std::u16string_view::npos)
            break;
    }
    return lines;
}

// A comment as the lines under an item: every line on a line of its own, a space
// before it unless it has one (an empty line stays empty).
std::u16string FileLines(std::u16string_view comment)
{
    std::u16string out;
    for (const std::u16string& line : Lines(comment))
        out.append(line.empty() || line.front() == u' ' ? u"" : u" ").append(line).append(u"\r\n");
    return out;
}

// The bytes of the file; the header comment keeps the lines written for it, without
// the empty ones at its ends.
std::string RefWrite(Reference& ref)
{
    const std::u16string header = FileLines(Trim(ref.header, u'\n'));
    std::vector<std::u16string> lines = Lines(header);
    for (std::u16string& line : lines)
        std::erase(line, u'\r');
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    ref.header.clear();
    for (const std::u16string& line : lines) {
        if (!ref.header.empty() || !line.empty())
            ref.header += line + u"\n";
    }
    std::u16string text = header + u"\r\n";
    for (const RefRow& row : ref.rows) {
        text += row.date.empty() ? row.text : row.mark + u"<" + row.date + u">" + row.text;
        text += u"\r\n";
        if (row.mark != u"削")
            text += FileLines(row.comment);
    }
    return Cp932Codec::encode(text);
}

// Reading back the lines that FileLines() gives: each blank-led line, trimmed, joins
// `target` after a line break; empty lines add nothing.
void ReadCommentLines(std::u16string_view lines, std::u16string& target)
{
    for (std::size_t lf; (lf = lines.find(u'\n')) != std::u16string_view::npos; lines.remove_prefix(lf + 1)) {
        std::u16string line(lines.substr(0, lf));
        std::erase(line, u'\r');
        if (line.empty())
            continue;
        ASSERT_TRUE(IsSpace(line.front())) << U8(line);
        if (!target.empty())
            target += u"\n";
        target += Trim(line);
    }
}

// What reading the file RefWrite() wrote gives, line by line as the format reads it;
// the number of deleted lines in the second.
std::pair<Reference, int> RefReadBack(const Reference& written)
{
    Reference read;
    int deletedLines = 0;
    ReadCommentLines(written.header, read.header);
    // The comment lines under a deleted line belong to it and are dropped.
    bool underDeletedLine = false;
    for (const RefRow& row : written.rows) {
        const bool deleted = row.mark == u"削";
        if (deleted && !row.date.empty()) {
            ++deletedLines;
            underDeletedLine = true;
            continue;
        }
        if (!row.text.empty()) {
            read.rows.push_back({row.date.empty() ? u"" : row.mark, row.text, row.date, u""});
            underDeletedLine = false;
        }
        if (!deleted && !underDeletedLine)
            ReadCommentLines(FileLines(row.comment), read.rows.empty() ? read.header : read.rows.back().comment);
    }
    return {std::move(read), deletedLines};
}

::testing::AssertionResult SameContent(const Checklist& checklist, const Reference& ref)
{
    auto failure = ::testing::AssertionFailure();
    if (checklist.rowCount() != ref.rows.size())
        return failure << "rowCount " << checklist.rowCount() << ", expected " << ref.rows.size();
    for (std::size_t i = 0; i < ref.rows.size(); ++i) {
        const ItemRow row = checklist.row(i);
        const RefRow& expected = ref.rows[i];
        if (MarkText(row.mark) != expected.mark || row.text != expected.text || row.date != expected.date
            || checklist.comment(i) != expected.comment)
            return failure << "row " << i << ": " << U8(MarkText(row.mark)) << "|" << U8(row.text) << "|"
                           << U8(row.date) << "|" << U8(checklist.comment(i)) << ", expected " << U8(expected.mark)
                           << "|" << U8(expected.text) << "|" << U8(expected.date) << "|" << U8(expected.comment);
    }
    if (checklist.headerComment() != ref.header)
        return failure << "header " << U8(checklist.headerComment()) << ", expected " << U8(ref.header);
    if (checklist.doneCount() != CountMarks(ref, u"○") || checklist.deletedCount() != CountMarks(ref, u"削"))
        return failure << "counts " << checklist.doneCount() << "/" << checklist.deletedCount() << ", expected "
                       << CountMarks(ref, u"○") << "/" << CountMarks(ref, u"削");
    if (checklist.modified() != ref.modified)
        return failure << "modified " << checklist.modified();
    return ::testing::AssertionSuccess();
}

// The header comment as it reads back once written: what undoing or redoing a step after
// a write can be held to (a write changes the header's form, and may leave one more empty line).
std::u16string WrittenHeader(std::u16string_view header)
{
    std::u16string lines;
    for (const std::u16string& line : Lines(WrittenHeaderComment(HeaderBlockText(header))))
        lines += line.empty() ? u"" : Trim(line) + u"\n";
    return lines;
}

// Applies one command to both the checklist and the reference, and keeps each step
// with the reference before and after it, to take it back and do it again.
class Driver {
public:
    explicit Driver(Checklist& checklist)
        : m_checklist(&checklist)
    {
        m_recorder.attach(checklist);
    }
    Checklist& checklist() { return *m_checklist; }
    const Reference& reference() const { return m_ref; }

    void mark(std::size_t i, const Day& today)
    {
        Step step{MarkRow(*m_checklist, i, today), m_ref};
        std::u16string& mark = m_ref.rows[i].mark;
        mark = mark == u"" || mark == u"？" ? u"○" : mark == u"○" ? u"×" : mark == u"×" ? u"？" : mark;
        m_ref.rows[i].date = RefDate(today);
        m_ref.modified = true;
        record(std::move(step));
    }
    void clear()
    {
        Step step{ClearMarks(*m_checklist), m_ref};
        for (RefRow& row : m_ref.rows) {
            if (row.mark != u"削")
                row.mark = row.date = u"";
        }
        m_ref.modified = true;
        record(std::move(step));
    }
    // `text` and `comment` may lie in the checklist itself.
    void edit(std::size_t i, std::u16string_view text, std::u16string_view comment, const Day& today)
    {
        RefRow& row = m_ref.rows[i];
        const std::u16string newText(text), newComment(comment);
        Step step{EditRow(*m_checklist, i, text, comment, today), m_ref};
        if (row.mark == u"削") {
            // Only a text brings a deleted row back, as an unmarked, undated item.
            if (!newText.empty()) {
                row = {u"", newText, u"", newComment};
                m_ref.modified = true;
            }
            record(std::move(step));
            return;
        }
        if (!row.date.empty())
            row.date = RefDate(today);
        if (newText.empty()) {
            m_ref.header += RefRecord(row.text, row.date, newComment);
            row.mark = u"削";
        }
        row.text = newText;
        row.comment = newComment;
        m_ref.modified = true;
        record(std::move(step));
    }
    void cut(std::size_t i, const Day& today)
    {
        Step step{CutRow(*m_checklist, i, today), m_ref};
        RefRow& row = m_ref.rows[i];
        if (row.mark == u"削") {
            EXPECT_TRUE(step.edit.empty());
            return;
        }
        m_ref.header += RefRecord(row.text, row.date, row.comment);
        row.mark = u"削";
        row.text.clear();
        if (!row.date.empty())
            row.date = RefDate(today);
        m_ref.modified = true;
        record(std::move(step));
    }
    void append(const std::u16string& text, const std::u16string& comment)
    {
        Step step{AppendItem(*m_checklist, text, comment), m_ref};
        m_ref.rows.push_back({u"", text, u"", comment});
        m_ref.modified = true;
        record(std::move(step));
    }
    void move(std::size_t i, int by)
    {
        const std::size_t target = i + by;
        const bool moves = target < m_ref.rows.size();
        Step step{MoveRow(*m_checklist, i, by), m_ref};
        EXPECT_EQ(!step.edit.empty(), moves);
        if (moves) {
            std::swap(m_ref.rows[i], m_ref.rows[target]);
            m_ref.modified = true;
            record(std::move(step));
        }
    }
    // Takes the last step back, or does the last step taken back again; each puts back
    // the rows, the counts and the deletion records of its side of the step.
    void undo() { travel(m_done, m_undone, true); }
    void redo() { travel(m_undone, m_done, false); }
    // Writes, and compares the bytes with the reference's; with `readBack`, reads
    // them into a fresh checklist that takes the place of the old one.
    void write(bool readBack)
    {
        const std::string bytes = WriteChecklist(*m_checklist);
        const std::string expected = RefWrite(m_ref);
        ASSERT_EQ(bytes, expected);
        if (!readBack)
            return;
        auto fresh = std::make_unique<Checklist>();
        m_recorder.attach(*fresh);
        const ChecklistReadResult result = ReadChecklist(bytes, *fresh);
        ASSERT_EQ(result.encoding, TextEncoding::Ansi);
        std::vector<RefRow> kept;
        std::copy_if(m_ref.rows.begin(), m_ref.rows.end(), std::back_inserter(kept),
            [](const RefRow& row) { return row.mark != u"削"; });
        int deletedLines = 0;
        std::tie(m_ref, deletedLines) = RefReadBack(m_ref);
        EXPECT_EQ(result.deletedCount, deletedLines);
        // Every row that is not deleted comes back with its text and its comment's lines,
        // whatever was typed or pasted for them.
        ASSERT_EQ(m_ref.rows.size(), kept.size());
        for (std::size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(U8(m_ref.rows[i].text), U8(kept[i].text));
            EXPECT_EQ(Lines(m_ref.rows[i].comment), Lines(kept[i].comment)) << U8(kept[i].comment);
        }
        m_owned = std::move(fresh);
        m_checklist = m_owned.get();
        m_recorder.take();
        // The history belongs to the checklist as read.
        m_done.clear();
        m_undone.clear();
    }

private:
    struct Step {
        ChecklistEdit edit;
        Reference before;
        Reference after{};
    };
    void record(Step step)
    {
        // A step that changed nothing leaves no trace.
        Reference unchanged = step.before;
        unchanged.modified = m_checklist->modified();
        if (step.edit.empty()) {
            EXPECT_TRUE(SameContent(*m_checklist, unchanged));
            return;
        }
        EXPECT_EQ(step.edit.startedUnmodified(), !step.before.modified);
        step.after = m_ref;
        m_done.push_back(std::move(step));
        m_undone.clear();
    }
    void travel(std::vector<Step>& from, std::vector<Step>& to, bool back)
    {
        if (from.empty())
            return;
        Step step = std::move(from.back());
        from.pop_back();
        const std::optional<std::size_t> selected = back ? step.edit.undo(*m_checklist) : step.edit.redo(*m_checklist);
        const Reference& expected = back ? step.before : step.after;
        if (selected) {
            EXPECT_LT(*selected, expected.rows.size());
        }
        // A write in between leaves the header comment in its written form.
        EXPECT_EQ(U8(WrittenHeader(m_checklist->headerComment())), U8(WrittenHeader(expected.header)));
        m_ref.rows = expected.rows;
        m_ref.header = m_checklist->headerComment();
        m_ref.modified = true;
        to.push_back(std::move(step));
    }

    Checklist* m_checklist;
    std::unique_ptr<Checklist> m_owned;
    Reference m_ref;
    ChangeRecorder m_recorder;
    std::vector<Step> m_done;
    std::vector<Step> m_undone;
};

// Pieces of text as typed or pasted: line breaks of every kind, control characters,
// blanks, what starts a comment line or a marked or deleted line, "!!". Their
// characters CP932 holds, none of whose lead bytes makes well-formed UTF-8, so the
// written file reads back as CP932 exactly.
const std::u16string_view kTypedPieces[] = {u"牛乳", u"パン", u"電池", u"milk", u"2本", u"x", u"全角　空白", u"!",
    u"!!", u"！", u".", u"．", u" ", u"  ", u"\t", u"　", u"\r\n", u"\n", u"\r", std::u16string_view(u"\0", 1), u"\x01",
    u"\x0B", u"\x1B", u"\x1F", u"○<", u"×<", u"？<", u"削<", u"<02/12/23>", u"○", u"削", u"<", u">"};
const Day kDays[] = {{2003, 3, 5}, {2000, 1, 1}, {2002, 12, 23}, {2024, 2, 29}};

template <class T, std::size_t N>
const T& Pick(std::mt19937& rng, const T (&items)[N])
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

int Roll(std::mt19937& rng, int below)
{
    return std::uniform_int_distribution<int>(0, below - 1)(rng);
}

std::u16string Typed(std::mt19937& rng, int mostPieces)
{
    std::u16string text;
    for (int pieces = Roll(rng, mostPieces + 1); pieces > 0; --pieces)
        text += Pick(rng, kTypedPieces);
    return text;
}

// An item text as the editor hands it over; nothing when it is refused.
std::optional<std::u16string> TypedItemText(std::mt19937& rng)
{
    std::u16string text = OneLineItemText(Typed(rng, 4));
    if (ReadsAsCommentLine(text) || LineMark(text))
        return std::nullopt;
    return text;
}

std::u16string TypedComment(std::mt19937& rng)
{
    std::u16string comment = Typed(rng, 10);
    TextToComment(comment);
    return comment;
}

// Random commands, with undos and redos among them and writes in between.
TEST(ChecklistProperty, RandomCommandsAgreeWithThePlainReference)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        Checklist first;
        Driver driver(first);
        Day today = kDays[0];
        for (int step = 0; step < 300; ++step) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
            if (Roll(rng, 20) == 0)
                today = Pick(rng, kDays);
            const std::size_t rows = driver.checklist().rowCount();
            const std::size_t row = rows ? static_cast<std::size_t>(Roll(rng, static_cast<int>(rows))) : 0;
            const int command = rows ? Roll(rng, 120) : 60;  // an empty list gets an item
            if (command >= 100) {
                for (int times = 1 + Roll(rng, 3); times > 0; --times)
                    command < 112 ? driver.undo() : driver.redo();
            } else if (command < 25) {
                driver.mark(row, today);
            } else if (command < 35) {
                // Unchanged: the texts handed back are the checklist's own.
                const ItemRow item = driver.checklist().row(row);
                driver.edit(row, item.text, driver.checklist().comment(row), today);
            } else if (command < 42) {
                if (const std::optional<std::u16string> text = Roll(rng, 4) ? TypedItemText(rng) : u"")
                    driver.edit(row, *text, TypedComment(rng), today);
            } else if (command < 50) {
                driver.cut(row, today);
            } else if (command < 64) {
                const std::optional<std::u16string> text = TypedItemText(rng);
                if (text && !text->empty())
                    driver.append(*text, TypedComment(rng));
            } else if (command < 72) {
                const PastedItem pasted = ParsePastedItem(Typed(rng, 12));
                if (!pasted.text.empty() && !ReadsAsCommentLine(pasted.text) && !LineMark(pasted.text))
                    driver.append(pasted.text, pasted.comment);
            } else if (command < 88) {
                driver.move(row, Roll(rng, 2) ? 1 : -1);
            } else if (command < 90) {
                driver.clear();
            } else {
                driver.write(Roll(rng, 3) != 0);
            }
            ASSERT_FALSE(HasFailure());
            ASSERT_TRUE(SameContent(driver.checklist(), driver.reference()));
            if (step % 25 == 24)
                driver.write(false);
        }
    }
}

// Edited texts are compacted once about a million units of them are garbage; every row,
// wherever its texts lie, reads the same afterwards, and rows stamped the same day
// still show their own dates.
TEST(ChecklistProperty, CompactingEditedTextKeepsEveryRow)
{
    Checklist first;
    Driver driver(first);
    for (int i = 0; i < 40; ++i)
        driver.append(u"item " + std::u16string(1, char16_t(u'A' + i % 26)), i % 3 ? u"c\n" : u"");
    driver.write(true);  // the rows now lie in the file's text
    for (std::size_t i = 0; i < 40; i += 2)
        driver.mark(i, kDays[i / 2 % 4]);
    for (std::size_t i = 0; i < 40; i += 5)
        driver.edit(i, u"edited", u"short", kDays[1]);

    for (int i = 0; i < 3000; ++i) {
        const std::u16string comment(1000, char16_t(u'a' + i % 26));
        driver.edit(0, u"row zero " + std::u16string(1, char16_t(u'0' + i % 10)), comment, kDays[i / 700 % 4]);
        if (i % 100 == 0)
            driver.mark(static_cast<std::size_t>(i / 100 % 40), kDays[i / 300 % 4]);
        if (i % 500 == 0) {
            ASSERT_TRUE(SameContent(driver.checklist(), driver.reference())) << "edit " << i;
        }
    }
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(SameContent(driver.checklist(), driver.reference()));
    driver.write(true);
    EXPECT_TRUE(SameContent(driver.checklist(), driver.reference()));
}

}  // namespace
}  // namespace tavik
