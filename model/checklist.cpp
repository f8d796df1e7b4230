#include "model/checklist.h"

#include "model/comment_text.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>

namespace tavik {

namespace {

// The edited text is compacted only once this much of it is garbage, and most of it.
constexpr std::size_t kGarbageToCollect = 1 << 20;

std::uint32_t Size32(std::size_t size)
{
    if (size > UINT32_MAX)
        throw std::length_error("checklist text too long");
    return static_cast<std::uint32_t>(size);
}

// Every date a row holds is "YY/MM/DD" or empty; the view of a date relies on it.
void CheckDate(std::optional<std::u16string_view> date)
{
    if (date && !date->empty() && date->size() != PackedRow::kDateLength)
        throw std::invalid_argument("a date has eight characters");
}

// Texts given to a change may point into the checklist's own edited text, which
// moves as it grows; such a text is copied before anything is stored.
class StableTexts {
public:
    explicit StableTexts(const TextBuffer& buffer)
        : m_buffer(buffer)
    {
    }
    std::u16string_view operator()(std::u16string_view text)
    {
        if (!m_buffer.holds(text))
            return text;
        return m_copies.emplace_back(text);
    }
    std::optional<std::u16string_view> operator()(std::optional<std::u16string_view> text)
    {
        return text ? std::optional((*this)(*text)) : std::nullopt;
    }

private:
    const TextBuffer& m_buffer;
    std::deque<std::u16string> m_copies;
};

}  // namespace

std::u16string_view MarkText(Mark mark)
{
    switch (mark) {
    case Mark::None:
        return {};
    case Mark::Done:
        return u"○";
    case Mark::Cross:
        return u"×";
    case Mark::Query:
        return u"？";
    case Mark::Deleted:
        return u"削";
    }
    return {};
}

void Checklist::reset()
{
    replaceContent({});
}

void Checklist::replaceContent(ChecklistContent content)
{
    const ChecklistChange change{ChecklistChange::Kind::Reset};
    changing(change);
    // The old rows go first, so that a large list is not held twice.
    m_content = std::move(content);
    m_lastEditedDate.reset();
    changed(change);
}

std::u16string_view Checklist::textOf(const PackedRow& row) const
{
    const TextBuffer& buffer = row.flags & PackedRow::kTextEdited ? m_content.editedText : m_content.fileText;
    return buffer.view(row.text, row.textSize);
}

std::u16string_view Checklist::commentOf(const PackedRow& row) const
{
    const TextBuffer& buffer = row.flags & PackedRow::kCommentEdited ? m_content.editedText : m_content.fileText;
    return buffer.view(row.comment, row.commentSize);
}

std::u16string_view Checklist::dateOf(const PackedRow& row) const
{
    if (row.date == PackedRow::kNoDate)
        return {};
    const TextBuffer& buffer = row.flags & PackedRow::kDateEdited ? m_content.editedText : m_content.fileText;
    return buffer.view(row.date, PackedRow::kDateLength);
}

ItemRow Checklist::row(std::size_t index) const
{
    const PackedRow& row = m_content.rows[index];
    return {row.mark, textOf(row), dateOf(row)};
}

std::u16string_view Checklist::comment(std::size_t index) const
{
    return index < m_content.rows.size() ? commentOf(m_content.rows[index]) : std::u16string_view();
}

std::uint32_t Checklist::storeEdited(std::u16string_view text)
{
    return text.empty() ? 0 : Size32(m_content.editedText.append(text));
}

void Checklist::replaceEdited(PackedRow& row, std::uint32_t PackedRow::*offset, std::uint32_t PackedRow::*size,
    PackedRow::Flag edited, std::u16string_view text)
{
    if (row.flags & edited)
        m_content.editedGarbage += row.*size;
    row.*offset = storeEdited(text);
    row.*size = Size32(text.size());
    row.flags |= edited;
}

void Checklist::setDate(PackedRow& row, std::u16string_view date)
{
    if (row.flags & PackedRow::kDateEdited && row.date != PackedRow::kNoDate && row.date != m_lastEditedDate)
        m_content.editedGarbage += PackedRow::kDateLength;
    row.flags &= ~PackedRow::kDateEdited;
    if (date.empty()) {
        row.date = PackedRow::kNoDate;
        return;
    }
    if (!m_lastEditedDate || m_content.editedText.view(*m_lastEditedDate, PackedRow::kDateLength) != date)
        m_lastEditedDate = storeEdited(date);
    row.date = *m_lastEditedDate;
    row.flags |= PackedRow::kDateEdited;
}

void Checklist::countMark(Mark mark, int step)
{
    if (mark == Mark::Done)
        m_content.doneCount += step;
    else if (mark == Mark::Deleted)
        m_content.deletedCount += step;
}

void Checklist::updateRow(std::size_t index, const RowUpdate& given)
{
    StableTexts stable(m_content.editedText);
    CheckDate(given.date);
    const RowUpdate update{given.mark, stable(given.text), stable(given.date), stable(given.comment)};
    std::uint8_t cells = (update.mark ? kMarkCell : 0) | (update.text ? kTextCell : 0) | (update.date ? kDateCell : 0)
        | (update.comment ? kCommentCell : 0);
    const ChecklistChange change{ChecklistChange::Kind::CellsChanged, index, index, cells};
    changing(change);
    PackedRow& row = m_content.rows.at(index);
    if (update.mark) {
        countMark(row.mark, -1);
        row.mark = *update.mark;
        countMark(row.mark, 1);
    }
    if (update.text)
        replaceEdited(row, &PackedRow::text, &PackedRow::textSize, PackedRow::kTextEdited, *update.text);
    if (update.date)
        setDate(row, *update.date);
    if (update.comment)
        replaceEdited(row, &PackedRow::comment, &PackedRow::commentSize, PackedRow::kCommentEdited, *update.comment);
    collectEditedGarbage();
    changed(change);
}

void Checklist::appendRow(const ItemRow& given, std::u16string_view givenComment)
{
    CheckDate(given.date);
    StableTexts stable(m_content.editedText);
    const ItemRow item{given.mark, stable(given.text), stable(given.date)};
    const std::u16string_view comment = stable(givenComment);
    const std::size_t index = m_content.rows.size();
    const ChecklistChange change{ChecklistChange::Kind::RowsInserted, index, index};
    changing(change);
    PackedRow row;
    row.mark = item.mark;
    replaceEdited(row, &PackedRow::text, &PackedRow::textSize, PackedRow::kTextEdited, item.text);
    replaceEdited(row, &PackedRow::comment, &PackedRow::commentSize, PackedRow::kCommentEdited, comment);
    setDate(row, item.date);
    m_content.rows.push_back(row);
    countMark(row.mark, 1);
    changed(change);
}

void Checklist::swapRows(std::size_t a, std::size_t b)
{
    if (a >= rowCount() || b >= rowCount() || a == b)
        return;
    const ItemRow first = row(a);
    const ItemRow second = row(b);
    const std::uint8_t cells = (first.mark != second.mark ? kMarkCell : 0) | (first.text != second.text ? kTextCell : 0)
        | (first.date != second.date ? kDateCell : 0) | (comment(a) != comment(b) ? kCommentCell : 0);
    const ChecklistChange change{ChecklistChange::Kind::CellsChanged, std::min(a, b), std::max(a, b), cells};
    changing(change);
    std::swap(m_content.rows[a], m_content.rows[b]);
    changed(change);
}

void Checklist::clearMarksAndDates()
{
    if (m_content.rows.empty())
        return;
    const ChecklistChange change{ChecklistChange::Kind::CellsChanged, 0, rowCount() - 1, kMarkCell | kDateCell};
    changing(change);
    for (PackedRow& row : m_content.rows) {
        // A deleted row stays deleted: made an item again it would count, and its
        // comment, already kept in its deletion record, would come back under it.
        if (row.mark == Mark::Deleted)
            continue;
        row.mark = Mark::None;
        setDate(row, {});
    }
    m_content.doneCount = 0;
    collectEditedGarbage();
    changed(change);
}

void Checklist::removeLastRow()
{
    if (m_content.rows.empty())
        return;
    const std::size_t index = m_content.rows.size() - 1;
    const ChecklistChange change{ChecklistChange::Kind::RowsRemoved, index, index};
    changing(change);
    PackedRow& row = m_content.rows.back();
    if (row.flags & PackedRow::kTextEdited)
        m_content.editedGarbage += row.textSize;
    if (row.flags & PackedRow::kCommentEdited)
        m_content.editedGarbage += row.commentSize;
    setDate(row, {});
    countMark(row.mark, -1);
    m_content.rows.pop_back();
    collectEditedGarbage();
    changed(change);
}

Checklist::MarkAndDate Checklist::markAndDate(std::size_t index) const
{
    const PackedRow& row = m_content.rows.at(index);
    MarkAndDate kept{Size32(index), row.mark, row.date != PackedRow::kNoDate, {}};
    const std::u16string_view date = dateOf(row);
    std::copy(date.begin(), date.end(), kept.date.begin());
    return kept;
}

std::vector<Checklist::MarkAndDate> Checklist::marksAndDates() const
{
    std::vector<MarkAndDate> kept;
    for (std::size_t i = 0; i < m_content.rows.size(); ++i) {
        const PackedRow& row = m_content.rows[i];
        if (row.mark != Mark::Deleted && (row.mark != Mark::None || row.date != PackedRow::kNoDate))
            kept.push_back(markAndDate(i));
    }
    return kept;
}

void Checklist::restoreMarksAndDates(const std::vector<MarkAndDate>& rows)
{
    if (rows.empty())
        return;
    const ChecklistChange change{
        ChecklistChange::Kind::CellsChanged, rows.front().row, rows.back().row, kMarkCell | kDateCell};
    changing(change);
    for (const MarkAndDate& entry : rows) {
        PackedRow& row = m_content.rows.at(entry.row);
        countMark(row.mark, -1);
        row.mark = entry.mark;
        countMark(row.mark, 1);
        setDate(row, entry.dateText());
    }
    collectEditedGarbage();
    changed(change);
}

void Checklist::appendToHeaderComment(std::u16string_view text)
{
    const ChecklistChange change{ChecklistChange::Kind::HeaderChanged};
    changing(change);
    m_content.headerComment.append(text);
    changed(change);
}

bool Checklist::removeFromHeaderComment(std::u16string_view record)
{
    const std::optional<std::size_t> kept = HeaderSizeWithoutRecord(m_content.headerComment, record);
    if (!kept)
        return false;
    const ChecklistChange change{ChecklistChange::Kind::HeaderChanged};
    changing(change);
    m_content.headerComment.resize(*kept);
    changed(change);
    return true;
}

void Checklist::collectEditedGarbage()
{
    TextBuffer& old = m_content.editedText;
    if (m_content.editedGarbage < kGarbageToCollect || m_content.editedGarbage * 2 < old.size())
        return;
    TextBuffer fresh;
    std::optional<std::uint32_t> freshLastDate;
    const auto move = [&](std::uint32_t& offset, std::size_t size) {
        offset = size == 0 ? 0 : Size32(fresh.append(old.view(offset, size)));
    };
    for (PackedRow& row : m_content.rows) {
        if (row.flags & PackedRow::kTextEdited)
            move(row.text, row.textSize);
        if (row.flags & PackedRow::kCommentEdited)
            move(row.comment, row.commentSize);
        if (row.flags & PackedRow::kDateEdited && row.date != PackedRow::kNoDate) {
            // Rows stamped the same day keep sharing one copy of the date.
            if (row.date == m_lastEditedDate) {
                if (!freshLastDate)
                    freshLastDate = Size32(fresh.append(old.view(row.date, PackedRow::kDateLength)));
                row.date = *freshLastDate;
            } else {
                move(row.date, PackedRow::kDateLength);
            }
        }
    }
    m_lastEditedDate = freshLastDate;
    m_content.editedText = std::move(fresh);
    m_content.editedGarbage = 0;
}

void Checklist::changing(const ChecklistChange& change)
{
    if (m_observer)
        m_observer->checklistChanging(change);
}

void Checklist::changed(const ChecklistChange& change)
{
    if (m_observer)
        m_observer->checklistChanged(change);
}

}  // namespace tavik
