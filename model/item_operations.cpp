#include "model/item_operations.h"

#include "model/checklist.h"
#include "model/comment_text.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tavik {

namespace {

// Today's date for a row that has a date; an undated row stays undated.
std::optional<std::u16string_view> RestampedDate(const ItemRow& row, const std::u16string& today)
{
    if (row.date.empty())
        return std::nullopt;
    return today;
}

}  // namespace

std::u16string DateText(Day day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", day.year % 100, day.month, day.day);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

Mark NextMark(Mark mark)
{
    switch (mark) {
    case Mark::None:
    case Mark::Query:
        return Mark::Done;
    case Mark::Done:
        return Mark::Cross;
    case Mark::Cross:
        return Mark::Query;
    case Mark::Deleted:
        return Mark::Deleted;
    }
    return mark;
}

ChecklistEdit MarkRow(Checklist& checklist, std::size_t row, Day today)
{
    ChecklistEdit edit = ChecklistEdit::startRow(checklist, row);
    const std::u16string date = DateText(today);
    checklist.updateRow(row, {.mark = NextMark(checklist.row(row).mark), .date = date});
    checklist.setModified(true);
    edit.finish(checklist);
    return edit;
}

ChecklistEdit ClearMarks(Checklist& checklist)
{
    ChecklistEdit edit = ChecklistEdit::startClearing(checklist);
    checklist.clearMarksAndDates();
    checklist.setModified(true);
    return edit;
}

ChecklistEdit EditRow(
    Checklist& checklist, std::size_t row, std::u16string_view text, std::u16string_view comment, Day today)
{
    ChecklistEdit edit = ChecklistEdit::startRow(checklist, row);
    const ItemRow before = checklist.row(row);
    const std::u16string date = DateText(today);
    Checklist::RowUpdate update{.text = text, .date = RestampedDate(before, date), .comment = comment};
    if (before.isDeleted()) {
        // Its deletion record already holds it; only a text brings it back, as a new item.
        if (text.empty())
            return {};
        update.mark = Mark::None;
        update.date = std::u16string_view();
    } else if (text.empty()) {
        // The record is built from the row as re-dated, so it holds today's date.
        ItemRow deleted = before;
        deleted.date = update.date.value_or(std::u16string_view());
        checklist.appendToHeaderComment(DeletionRecord(deleted, comment));
        update.mark = Mark::Deleted;
    }
    checklist.updateRow(row, update);
    checklist.setModified(true);
    edit.finish(checklist);
    return edit;
}

ChecklistEdit CutRow(Checklist& checklist, std::size_t row, Day today)
{
    const ItemRow before = checklist.row(row);
    if (before.isDeleted())
        return {};
    ChecklistEdit edit = ChecklistEdit::startRow(checklist, row);
    const std::u16string date = DateText(today);
    checklist.appendToHeaderComment(DeletionRecord(before, checklist.comment(row)));
    checklist.updateRow(row, {.mark = Mark::Deleted, .text = u"", .date = RestampedDate(checklist.row(row), date)});
    checklist.setModified(true);
    edit.finish(checklist);
    return edit;
}

ChecklistEdit AppendItem(Checklist& checklist, std::u16string_view text, std::u16string_view comment)
{
    ChecklistEdit edit = ChecklistEdit::startAppend(checklist);
    checklist.appendRow({Mark::None, text, {}}, comment);
    checklist.setModified(true);
    edit.finish(checklist);
    return edit;
}

ChecklistEdit MoveRow(Checklist& checklist, std::size_t row, int step)
{
    const std::size_t target = row + static_cast<std::size_t>(step);
    if (row >= checklist.rowCount() || target >= checklist.rowCount())
        return {};
    ChecklistEdit edit = ChecklistEdit::startMove(checklist, row, step);
    checklist.swapRows(row, target);
    // The new order is written with the next write, as any other change is.
    checklist.setModified(true);
    return edit;
}

}  // namespace tavik
