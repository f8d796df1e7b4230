#pragma once

#include "model/checklist_edit.h"
#include "model/item_row.h"

#include <cstddef>
#include <string>
#include <string_view>

// The rules by which the commands on the list change a checklist. Each sets
// `modified`; each change reaches the checklist's observer. Each returns what it
// changed, for undo and redo (empty when it changed nothing).
namespace tavik {

class Checklist;

// A day of the local calendar.
struct Day {
    int year = 2000;
    int month = 1;
    int day = 1;
};

// The date a row is stamped with: "YY/MM/DD", the year modulo 100.
std::u16string DateText(Day day);

// The mark button's cycle: empty, "○", "×", "？", "○", ...; a deleted row keeps its mark.
Mark NextMark(Mark mark);

// The mark button on `row`: the next mark, dated `today` whether or not the mark changed.
ChecklistEdit MarkRow(Checklist& checklist, std::size_t row, Day today);

// Every row loses its mark and its date, except deleted rows, which go at the next read.
ChecklistEdit ClearMarks(Checklist& checklist);

// Stores what the item editor returned for `row`: its one-line text and its comment
// (stored form, see TextToComment). A dated row is re-dated `today`. An empty text deletes the row: it
// is marked "削" and a deletion record with the row's former text, its new date and
// `comment` goes into the header comment. A deleted row given a text becomes an
// unmarked, undated item again; given none, it stays as it is.
ChecklistEdit EditRow(
    Checklist& checklist, std::size_t row, std::u16string_view text, std::u16string_view comment, Day today);

// Cuts `row` (after it was copied): the row is marked "削" and emptied, and its
// deletion record, which keeps the date the row had, goes into the header comment;
// the row itself is re-dated `today` when it has a date. A deleted row stays as it is.
ChecklistEdit CutRow(Checklist& checklist, std::size_t row, Day today);

// Adds an unmarked, undated item after the last row (added or pasted).
ChecklistEdit AppendItem(Checklist& checklist, std::u16string_view text, std::u16string_view comment);

// Moves `row` one place up (`step` -1) or down (1) with its comment; nothing happens
// when it has no row to trade places with.
ChecklistEdit MoveRow(Checklist& checklist, std::size_t row, int step);

}  // namespace tavik
