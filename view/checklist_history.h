#pragma once

#include "model/checklist_edit.h"

#include <QUndoStack>

#include <cstddef>
#include <optional>

namespace tavik {

class Checklist;

// The open checklist's history of changes to its rows, for undo and redo, any number of
// steps. Each step keeps only what it changed (ChecklistEdit). It also knows which
// state the file holds, so that taking steps back and forth tells `modified` rightly.
class ChecklistHistory {
public:
    explicit ChecklistHistory(Checklist& checklist);

    // What a step taken back or done again asks of the screen and the file.
    struct Travelled {
        // The row to select; none when the selection may stay.
        std::optional<std::size_t> row;
        // The step's command writes the file at once (edit, add), so its undo and redo do too.
        bool writesAtOnce = false;
    };

    // Keeps a step just done (an empty one is dropped); the steps taken back are forgotten.
    void record(ChecklistEdit edit, bool writesAtOnce);
    std::optional<Travelled> undo();
    std::optional<Travelled> redo();
    bool canUndo() const { return m_stack.canUndo(); }
    int count() const { return m_stack.count(); }
    // Forgets every step: another file was read in place of this one.
    void clear() { m_stack.clear(); }

private:
    std::optional<Travelled> travel(bool back);

    Checklist& m_checklist;
    QUndoStack m_stack;
};

}  // namespace tavik
