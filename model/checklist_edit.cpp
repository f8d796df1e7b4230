#include "model/checklist_edit.h"

namespace tavik {

ChecklistEdit::RowState ChecklistEdit::stateOf(const Checklist& checklist, std::size_t row)
{
    return {
        checklist.markAndDate(row), std::u16string(checklist.row(row).text), std::u16string(checklist.comment(row))};
}

ChecklistEdit::ChecklistEdit(Kind kind, const Checklist& checklist)
    : m_kind(kind)
    , m_startedUnmodified(!checklist.modified())
{
}

ChecklistEdit ChecklistEdit::startRow(const Checklist& checklist, std::size_t row)
{
    ChecklistEdit edit(Kind::Row, checklist);
    edit.m_row = row;
    edit.m_before = stateOf(checklist, row);
    edit.m_headerSize = checklist.headerComment().size();
    return edit;
}

ChecklistEdit ChecklistEdit::startAppend(const Checklist& checklist)
{
    ChecklistEdit edit(Kind::Append, checklist);
    edit.m_row = checklist.rowCount();
    return edit;
}

ChecklistEdit ChecklistEdit::startMove(const Checklist& checklist, std::size_t row, int step)
{
    ChecklistEdit edit(Kind::Move, checklist);
    edit.m_row = row;
    edit.m_step = step;
    return edit;
}

ChecklistEdit ChecklistEdit::startClearing(const Checklist& checklist)
{
    ChecklistEdit edit(Kind::ClearMarks, checklist);
    edit.m_cleared = checklist.marksAndDates();
    return edit;
}

void ChecklistEdit::finish(const Checklist& checklist)
{
    if (m_kind == Kind::Append) {
        m_after = stateOf(checklist, m_row);
        return;
    }
    if (m_kind != Kind::Row)
        return;
    m_after = stateOf(checklist, m_row);
    const Checklist::MarkAndDate& before = m_before.markAndDate;
    const Checklist::MarkAndDate& after = m_after.markAndDate;
    m_cells = (before.mark != after.mark ? kMarkCell : 0) | (m_before.text != m_after.text ? kTextCell : 0)
        | (before.dateText() != after.dateText() ? kDateCell : 0)
        | (m_before.comment != m_after.comment ? kCommentCell : 0);
    if (checklist.headerComment().size() > m_headerSize)
        m_record = checklist.headerComment().substr(m_headerSize);
    // Only what changed is kept.
    if (!(m_cells & kTextCell))
        m_before.text = m_after.text = {};
    if (!(m_cells & kCommentCell))
        m_before.comment = m_after.comment = {};
    if (!m_cells && m_record.empty())
        m_kind = Kind::None;
}

void ChecklistEdit::apply(Checklist& checklist, const RowState& state) const
{
    Checklist::RowUpdate update;
    if (m_cells & kMarkCell)
        update.mark = state.markAndDate.mark;
    if (m_cells & kTextCell)
        update.text = state.text;
    if (m_cells & kDateCell)
        update.date = state.markAndDate.dateText();
    if (m_cells & kCommentCell)
        update.comment = state.comment;
    if (m_cells)
        checklist.updateRow(m_row, update);
}

std::optional<std::size_t> ChecklistEdit::undo(Checklist& checklist) const
{
    std::optional<std::size_t> select;
    switch (m_kind) {
    case Kind::None:
        return std::nullopt;
    case Kind::Row:
        if (!m_record.empty())
            checklist.removeFromHeaderComment(m_record);
        apply(checklist, m_before);
        select = m_row;
        break;
    case Kind::Append:
        checklist.removeLastRow();
        break;
    case Kind::Move:
        checklist.swapRows(m_row, m_row + static_cast<std::size_t>(m_step));
        select = m_row;
        break;
    case Kind::ClearMarks:
        checklist.restoreMarksAndDates(m_cleared);
        break;
    }
    checklist.setModified(true);
    return select;
}

std::optional<std::size_t> ChecklistEdit::redo(Checklist& checklist) const
{
    std::optional<std::size_t> select;
    switch (m_kind) {
    case Kind::None:
        return std::nullopt;
    case Kind::Row:
        apply(checklist, m_after);
        if (!m_record.empty())
            checklist.appendToHeaderComment(m_record);
        select = m_row;
        break;
    case Kind::Append:
        checklist.appendRow({m_after.markAndDate.mark, m_after.text, m_after.markAndDate.dateText()}, m_after.comment);
        select = m_row;
        break;
    case Kind::Move:
        checklist.swapRows(m_row, m_row + static_cast<std::size_t>(m_step));
        select = m_row + static_cast<std::size_t>(m_step);
        break;
    case Kind::ClearMarks:
        checklist.clearMarksAndDates();
        break;
    }
    checklist.setModified(true);
    return select;
}

}  // namespace tavik
