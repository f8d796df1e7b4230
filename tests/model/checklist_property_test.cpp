// Random sequences of the list's commands, with undo, redo, writes and reads among them,
// checked against a plain reference: the rows as data, the rules written out again.
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model/comment_text.h"
#include "model/item_operations.h"
#include "model/item_text.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <tuple>

namespace tavik {
namespace {

// A row as plain data, its cells in the order of the bits of ChecklistChange::cells.
enum Cell { kMark, kText, kDate, kComment };
using Row = std::array<std::u16string, 4>;
struct State {
    std::vector<Row> rows;
    std::u16string header;
    bool modified = false;
    friend bool operator==(const State&, const State&) = default;
};

std::string U8(std::u16string_view text)
{
    return UnicodeCodec::encodeUtf8(text);
}

State StateOf(const Checklist& checklist)
{
    State state{{}, checklist.headerComment(), checklist.modified()};
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow row = checklist.row(i);
        state.rows.push_back({std::u16string(MarkText(row.mark)), std::u16string(row.text), std::u16string(row.date),
            std::u16string(checklist.comment(i))});
    }
    return state;
}

// Compares the checklist with the reference, the counts of done and deleted rows included; a
// difference is shown as text, so that it reads as a diff.
void ExpectSame(const Checklist& checklist, const State& expected)
{
    const auto show = [](const State& state, std::size_t done, std::size_t deleted) {
        std::string text = U8(state.header) + "\n-- " + std::to_string(done) + " done, " + std::to_string(deleted)
            + " deleted" + (state.modified ? ", modified\n" : "\n");
        for (const Row& row : state.rows)
            text += U8(row[kMark] + u"|" + row[kText] + u"|" + row[kDate] + u"|" + row[kComment]) + "\n";
        return text;
    };
    const auto count = [&](std::u16string_view mark) {
        return static_cast<std::size_t>(
            std::ranges::count_if(expected.rows, [&](const Row& r) { return r[kMark] == mark; }));
    };
    const State actual = StateOf(checklist);
    if (actual != expected || checklist.doneCount() != count(u"○") || checklist.deletedCount() != count(u"削"))
        EXPECT_EQ(
            show(actual, checklist.doneCount(), checklist.deletedCount()), show(expected, count(u"○"), count(u"削")));
}

std::u16string RefDate(Day day)
{
    const auto two = [](int n) { return std::u16string{char16_t(u'0' + n / 10 % 10), char16_t(u'0' + n % 10)}; };
    return two(day.year % 100) + u"/" + two(day.month) + u"/" + two(day.day);
}

std::u16string Trim(std::u16string_view text, char16_t kept = 0)
{
    const auto blank = [&](char16_t c) { return c != kept && (c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'　'); };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::u16string(text);
}

// The lines of a comment; a line break at its end starts no further line.
std::vector<std::u16string> Lines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    for (std::size_t lf = 0; !text.empty() && lf != text.npos; text.remove_prefix(lf + 1))
        lines.emplace_back(text.substr(0, lf = text.find(u'\n')));
    return lines;
}

// Comment lines as a file holds them: each on a line of its own, led by a space unless it
// has one; an empty line stays empty.
std::u16string FileLines(std::u16string_view comment)
{
    std::u16string out;
    for (const std::u16string& line : Lines(comment))
        out.append(line.empty() || line.front() == u' ' ? u"" : u" ").append(line).append(u"\r\n");
    return out;
}

// What reading comment lines gives: the lines that hold something, trimmed, one under the other.
std::u16string ReadBack(std::u16string_view lines)
{
    std::u16string read;
    for (const std::u16string& line : Lines(lines)) {
        if (const std::u16string trimmed = Trim(line); !trimmed.empty())
            read += (read.empty() ? u"" : u"\n") + trimmed;
    }
    return read;
}

// The file's bytes. The header comment takes the form the write leaves.
std::string RefWrite(State& ref)
{
    const std::u16string header = FileLines(Trim(ref.header, u'\n'));
    ref.header = WrittenHeaderComment(header);
    std::u16string text = header + u"\r\n";
    for (const Row& row : ref.rows) {
        text += (row[kDate].empty() ? u"" : row[kMark] + u"<" + row[kDate] + u">") + row[kText] + u"\r\n";
        if (row[kMark] != u"削")
            text += FileLines(row[kComment]);
    }
    return Cp932Codec::encode(text);
}

// The rules of the commands on the plain rows.
std::u16string RefRecord(const Row& row, std::u16string_view comment)
{
    return u"\n削除＝＞\n" + row[kText] + u"<" + row[kDate] + u">\n" + std::u16string(comment) + u"\n＜＝削除\n";
}

State Marked(State s, std::size_t i, Day today)
{
    std::u16string& mark = s.rows[i][kMark];
    mark = mark == u"" || mark == u"？" ? u"○" : mark == u"○" ? u"×" : mark == u"×" ? u"？" : mark;
    s.rows[i][kDate] = RefDate(today);
    s.modified = true;
    return s;
}

State Cleared(State s)
{
    for (Row& row : s.rows) {
        if (row[kMark] != u"削")
            row[kMark] = row[kDate] = u"";
    }
    s.modified = true;
    return s;
}

State Edited(State s, std::size_t i, std::u16string_view text, std::u16string_view comment, Day today)
{
    Row& row = s.rows[i];
    const bool deleted = row[kMark] == u"削";
    // Only a text brings a deleted row back, as an unmarked, undated item.
    if (deleted && text.empty())
        return s;
    row[kDate] = deleted || row[kDate].empty() ? u"" : RefDate(today);
    if (deleted) {
        row[kMark].clear();
    } else if (text.empty()) {
        s.header += RefRecord(row, comment);
        row[kMark] = u"削";
    }
    row[kText] = text;
    row[kComment] = comment;
    s.modified = true;
    return s;
}

State Cut(State s, std::size_t i, Day today)
{
    Row& row = s.rows[i];
    if (row[kMark] == u"削")
        return s;
    s.header += RefRecord(row, row[kComment]);
    row[kMark] = u"削";
    row[kText].clear();
    if (!row[kDate].empty())
        row[kDate] = RefDate(today);
    s.modified = true;
    return s;
}

State Moved(State s, std::size_t i, int step)
{
    if (i + step < s.rows.size()) {
        std::swap(s.rows[i], s.rows[i + step]);
        s.modified = true;
    }
    return s;
}

// Holds the checklist and its reference, and each step with the reference before and after
// it, to take it back and do it again. Checks each change the checklist tells against the
// checklist before and after it: nothing differs outside the rows and cells it names, and rows
// come and go only at the end, one at a time.
class Driver : public ChecklistObserver {
public:
    Driver() { take(std::make_unique<Checklist>()); }
    Checklist& list() { return *m_list; }
    const State& ref() const { return m_ref; }

    // A row given as a caller may give it, not through a command.
    void appendRow(const ItemRow& row, std::u16string_view comment)
    {
        m_list->appendRow(row, comment);
        m_ref.rows.push_back({std::u16string(MarkText(row.mark)), std::u16string(row.text), std::u16string(row.date),
            std::u16string(comment)});
    }

    // A command has changed the checklist, and the reference says to what. One that changed
    // nothing leaves no step; clearing, and moving a row that has a neighbour, always leave one.
    void step(ChecklistEdit edit, State expected, bool alwaysAStep = false)
    {
        EXPECT_EQ(edit.empty(), !alwaysAStep && expected.rows == m_ref.rows && expected.header == m_ref.header);
        ExpectSame(*m_list, expected);
        if (!edit.empty()) {
            EXPECT_EQ(edit.startedUnmodified(), !m_ref.modified);
            m_done.push_back({std::move(edit), m_ref, expected});
            m_undone.clear();
        }
        m_ref = std::move(expected);
    }
    void append(std::u16string_view text, std::u16string_view comment)
    {
        State expected = m_ref;
        expected.rows.push_back({u"", std::u16string(text), u"", std::u16string(comment)});
        expected.modified = true;
        step(AppendItem(*m_list, text, comment), std::move(expected));
    }
    void checklistChanging(const ChecklistChange&) override { m_before = StateOf(*m_list); }
    void checklistChanged(const ChecklistChange& change) override
    {
        using enum ChecklistChange::Kind;
        const State after = StateOf(*m_list);
        if (change.kind == Reset)
            return;
        EXPECT_EQ(after.header != m_before.header, change.kind == HeaderChanged);
        const std::size_t kept = std::min(m_before.rows.size(), after.rows.size());
        const bool oneRow = change.kind == RowsInserted || change.kind == RowsRemoved;
        EXPECT_EQ(std::max(m_before.rows.size(), after.rows.size()), kept + oneRow);
        EXPECT_TRUE(!oneRow || (change.first == kept && change.last == kept));
        for (std::size_t i = 0; i < kept; ++i) {
            for (int cell = kMark; cell <= kComment; ++cell) {
                const bool told = change.kind == CellsChanged && i >= change.first && i <= change.last
                    && (change.cells & (1 << cell));
                EXPECT_TRUE(told || after.rows[i][cell] == m_before.rows[i][cell])
                    << "row " << i << ", cell " << cell << " changed untold";
            }
        }
    }
    // Each puts back the rows, the counts and the deletion records of its side of the step.
    void undo() { travel(m_done, m_undone, true); }
    void redo() { travel(m_undone, m_done, false); }

    // Writes and compares the bytes; with `readBack`, reads them into a fresh checklist.
    void write(bool readBack)
    {
        const std::string bytes = WriteChecklist(*m_list);
        ASSERT_EQ(bytes, RefWrite(m_ref));
        if (readBack) {
            take(std::make_unique<Checklist>());
            const ChecklistReadResult result = ReadChecklist(bytes, *m_list);
            EXPECT_EQ(result.encoding, TextEncoding::Ansi);
            // Deleted rows go, a mark without a date too, and a date without a mark joins the text.
            State read{{}, ReadBack(m_ref.header)};
            int deletedLines = 0;
            for (const auto& [mark, text, date, comment] : m_ref.rows) {
                if (mark == u"削")
                    deletedLines += !date.empty();
                else if (mark.empty() && !date.empty())
                    read.rows.push_back({u"", u"<" + date + u">" + text, u"", ReadBack(comment)});
                else
                    read.rows.push_back({date.empty() ? u"" : mark, text, date, ReadBack(comment)});
            }
            EXPECT_EQ(result.deletedCount, deletedLines);
            m_ref = read;
        }
        ExpectSame(*m_list, m_ref);
    }

private:
    struct Step {
        ChecklistEdit edit;
        State before, after;
    };
    void take(std::unique_ptr<Checklist> checklist)
    {
        m_list = std::move(checklist);
        m_list->setObserver(this);
        // The history belongs to the checklist it was made on.
        m_done.clear();
        m_undone.clear();
    }
    void travel(std::vector<Step>& from, std::vector<Step>& to, bool back)
    {
        if (from.empty())
            return;
        Step step = std::move(from.back());
        from.pop_back();
        back ? step.edit.undo(*m_list) : step.edit.redo(*m_list);
        const State& expected = back ? step.before : step.after;
        // A write in between leaves the header comment in its written form.
        const auto written
            = [](std::u16string_view h) { return U8(ReadBack(WrittenHeaderComment(HeaderBlockText(h)))); };
        EXPECT_EQ(written(m_list->headerComment()), written(expected.header));
        m_ref = {expected.rows, m_list->headerComment(), true};
        ExpectSame(*m_list, m_ref);
        to.push_back(std::move(step));
    }

    std::unique_ptr<Checklist> m_list;
    State m_before;
    State m_ref;
    std::vector<Step> m_done, m_undone;
};

// Pieces of text as typed or pasted: line breaks of every kind, control characters,
// blanks, what starts a comment line or a marked or deleted line, "!!". Their
// characters CP932 holds, none of whose lead bytes makes well-formed UTF-8, so the
// written file reads back as CP932 exactly.
const std::u16string_view kTypedPieces[] = {u"牛乳", u"パン", u"電池", u"milk", u"2本", u"x", u"全角　空白", u"!",
    u"!!", u"！", u".", u"．", u" ", u"  ", u"\t", u"　", u"\r\n", u"\n", u"\r", std::u16string_view(u"\0", 1), u"\x01",
    u"\x0B", u"\x1B", u"\x1F", u"○<", u"×<", u"？<", u"削<", u"<02/12/23>", u"○", u"削", u"<", u">"};
const Day kDays[] = {{2003, 3, 5}, {2000, 1, 1}, {2002, 12, 23}, {2024, 2, 29}};

std::u16string Typed(std::mt19937& rng, int mostPieces)
{
    std::u16string text;
    for (int pieces = std::uniform_int_distribution(0, mostPieces)(rng); pieces > 0; --pieces)
        text += kTypedPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kTypedPieces) - 1)(rng)];
    return text;
}

// Typed text as the editor stores it: an item's one line loses its control characters and the
// blanks before it, and each line break is one space in it.
std::u16string RefItemLine(std::u16string_view typed)
{
    std::u16string line;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == u'\r' || typed[i] == u'\n') {
            line += u' ';
            i += typed.substr(i, 2) == u"\r\n";
        } else if (typed[i] >= u' ' || typed[i] == u'\t') {
            line += typed[i];
        }
    }
    return line.substr(std::min(line.find_first_not_of(u" \t　"), line.size()));
}

// A comment keeps the lines that hold something, trimmed; any line break ends one.
std::u16string RefComment(std::u16string_view typed)
{
    std::u16string comment, line;
    for (const char16_t c : std::u16string(typed) + u'\n') {
        if (c == u'\r' || c == u'\n') {
            comment += Trim(line).empty() ? u"" : Trim(line) + u"\n";
            line.clear();
        } else if (c >= u' ' || c == u'\t') {
            line += c;
        }
    }
    return comment;
}

// Clipboard text: what shows nothing before the item is skipped; its first line is the item,
// the lines after it the comment.
std::u16string RefPasted(std::u16string_view clip)
{
    while (!clip.empty() && (clip.front() <= u' ' || clip.front() == u'　'))
        clip.remove_prefix(1);
    const std::size_t lineEnd = std::min(clip.find_first_of(u"\r\n"), clip.size());
    return RefItemLine(clip.substr(0, lineEnd)) + u"|" + RefComment(clip.substr(lineEnd));
}

// An item text as the editor or a paste hands it over: refused when a file would read it as
// a comment line or a marked line.
bool Accepted(std::u16string_view text)
{
    return !ReadsAsCommentLine(text) && !LineMark(text);
}

TEST(ChecklistProperty, RandomCommandsAgreeWithThePlainReference)
{
    // Every mark, dated and undated, with comments; a date without a mark only a caller gives.
    const std::tuple<Mark, std::u16string, std::u16string, std::u16string> start[]
        = {{Mark::Done, u"牛乳", u"02/12/23", u"低脂肪\n2本"}, {Mark::None, u"パン", u"", u""},
            {Mark::Cross, u"卵", u"02/12/22", u"x"}, {Mark::Deleted, u"", u"02/12/20", u"gone"},
            {Mark::Query, u"電池", u"", u""}, {Mark::None, u"<x>", u"02/12/21", u"y\n"}};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        const auto roll = [&](int below) { return std::uniform_int_distribution(0, below - 1)(rng); };
        Driver driver;
        for (const auto& [mark, text, date, comment] : start)
            driver.appendRow({mark, text, date}, comment);
        // Taking a clear back gives every kind of row its mark and date again.
        driver.step(ClearMarks(driver.list()), Cleared(driver.ref()), true);
        driver.undo();
        driver.redo();
        driver.undo();
        Day today = kDays[0];
        for (int step = 0; step < 300 && !HasFailure(); ++step) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
            Checklist& now = driver.list();
            if (roll(20) == 0)
                today = kDays[roll(4)];
            const std::size_t row
                = now.rowCount() ? static_cast<std::size_t>(roll(static_cast<int>(now.rowCount()))) : 0;
            const int command = now.rowCount() ? roll(120) : 60;  // an empty list gets an item
            const std::u16string typed = Typed(rng, 4), typedComment = Typed(rng, 10), clip = Typed(rng, 12);
            std::u16string text = OneLineItemText(typed), comment = typedComment;
            TextToComment(comment);
            const PastedItem pasted = ParsePastedItem(clip);
            EXPECT_EQ(U8(text + u"|" + comment), U8(RefItemLine(typed) + u"|" + RefComment(typedComment)));
            EXPECT_EQ(U8(pasted.text + u"|" + pasted.comment), U8(RefPasted(clip)));
            if (command >= 100) {
                for (int times = 1 + roll(3); times > 0; --times)
                    command < 112 ? driver.undo() : driver.redo();
            } else if (command < 25) {
                driver.step(MarkRow(now, row, today), Marked(driver.ref(), row, today));
            } else if (command < 35) {
                // Unchanged: the texts handed back are the checklist's own.
                State expected = Edited(driver.ref(), row, now.row(row).text, now.comment(row), today);
                driver.step(EditRow(now, row, now.row(row).text, now.comment(row), today), std::move(expected));
            } else if (command < 42) {
                if (roll(4) == 0)
                    text.clear();
                if (Accepted(text))
                    driver.step(
                        EditRow(now, row, text, comment, today), Edited(driver.ref(), row, text, comment, today));
            } else if (command < 50) {
                driver.step(CutRow(now, row, today), Cut(driver.ref(), row, today));
            } else if (command < 64) {
                if (Accepted(text) && !text.empty())
                    driver.append(text, comment);
            } else if (command < 72) {
                if (Accepted(pasted.text) && !pasted.text.empty())
                    driver.append(pasted.text, pasted.comment);
            } else if (command < 88) {
                const int by = roll(2) ? 1 : -1;
                driver.step(MoveRow(now, row, by), Moved(driver.ref(), row, by), row + by < now.rowCount());
            } else if (command < 90) {
                driver.step(ClearMarks(now), Cleared(driver.ref()), true);
            } else {
                driver.write(roll(3) != 0);
            }
            if (step % 25 == 24)
                driver.write(false);
        }
    }
}

// Edited texts are compacted once about a million units of them are garbage; every row,
// wherever its texts lie, reads the same afterwards, and rows stamped the same day keep their dates.
TEST(ChecklistProperty, CompactingEditedTextKeepsEveryRow)
{
    Driver driver;
    for (int i = 0; i < 40; ++i)
        driver.append(u"item " + std::u16string(1, char16_t(u'A' + i % 26)), i % 3 ? u"c\n" : u"");
    driver.write(true);  // the rows now lie in the file's text
    const auto edit = [&](std::size_t row, std::u16string text, std::u16string comment, Day today) {
        driver.step(EditRow(driver.list(), row, text, comment, today), Edited(driver.ref(), row, text, comment, today));
    };
    for (std::size_t i = 0; i < 40; i += 2)
        driver.step(MarkRow(driver.list(), i, kDays[i / 2 % 4]), Marked(driver.ref(), i, kDays[i / 2 % 4]));
    for (std::size_t i = 0; i < 40; i += 5)
        edit(i, u"edited", u"short", kDays[1]);
    for (int i = 0; i < 320 && !HasFailure(); ++i) {
        edit(0, u"row zero " + std::u16string(1, char16_t(u'0' + i % 10)),
            std::u16string(4000, char16_t(u'a' + i % 26)), kDays[i / 150 % 4]);
        if (i % 20 == 0)
            driver.step(MarkRow(driver.list(), i / 20 % 40, kDays[i / 60 % 4]),
                Marked(driver.ref(), i / 20 % 40, kDays[i / 60 % 4]));
    }
    driver.write(true);
}

}  // namespace
}  // namespace tavik
