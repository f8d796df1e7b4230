#pragma once

#include "model/checklist.h"
#include "model/item_row.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavik {

// What one command on the list changed in a checklist, kept so that it can be taken
// back (undo) and done again (redo). It holds only what the command changed: the
// cells of one row, the item added, the two rows that traded places, or the marks and
// dates that were cleared — never a copy of the list.
class ChecklistEdit {
public:
    // Nothing changed.
    ChecklistEdit() = default;

    // Each is made just before a command changes the checklist, and finish() completes it
    // once the command is done.
    // The command changes row `row`, and perhaps appends its deletion record.
    static ChecklistEdit startRow(const Checklist& checklist, std::size_t row);
    // The command adds an item after the last row.
    static ChecklistEdit startAppend(const Checklist& checklist);
    // Row `row` trades places with its neighbour `row + step`.
    static ChecklistEdit startMove(const Checklist& checklist, std::size_t row, int step);
    // The marks and dates are cleared.
    static ChecklistEdit startClearing(const Checklist& checklist);
    // Keeps what the command did; a row command that changed nothing leaves the step empty.
    void finish(const Checklist& checklist);

    bool empty() const { return m_kind == Kind::None; }
    // Whether the file held the checklist as it was before the step (no unsaved changes).
    bool startedUnmodified() const { return m_startedUnmodified; }

    // Each gives the checklist back the state before (undo) or after (redo) the step,
    // marks it modified, and returns the row to select: the row changed, or none when
    // the selection may stay (marks cleared, an added item taken back).
    std::optional<std::size_t> undo(Checklist& checklist) const;
    std::optional<std::size_t> redo(Checklist& checklist) const;

private:
    enum class Kind { None, Row, Append, Move, ClearMarks };

    // The cells of one row that a step changed (`m_cells` names which).
    struct RowState {
        Checklist::MarkAndDate markAndDate;
        std::u16string text;
        std::u16string comment;
    };
    explicit ChecklistEdit(Kind kind, const Checklist& checklist);
    static RowState stateOf(const Checklist& checklist, std::size_t row);
    void apply(Checklist& checklist, const RowState& state) const;

    Kind m_kind = Kind::None;
    bool m_startedUnmodified = false;
    std::size_t m_row = 0;
    int m_step = 0;
    std::uint8_t m_cells = 0;
    RowState m_before;
    RowState m_after;
    // The deletion record the step appended to the header comment.
    std::u16string m_record;
    std::size_t m_headerSize = 0;
    std::vector<Checklist::MarkAndDate> m_cleared;
};

}  // namespace tavik
