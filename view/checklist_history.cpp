#include "view/checklist_history.h"

#include "model/checklist.h"

#include <QUndoCommand>

namespace tavik {

namespace {

// One step on the stack. It is recorded after its command ran, so the stack's first
// call of redo() does nothing.
class EditCommand : public QUndoCommand {
public:
    EditCommand(Checklist& checklist, ChecklistEdit edit, bool writesAtOnce)
        : m_checklist(checklist)
        , m_edit(std::move(edit))
        , m_writesAtOnce(writesAtOnce)
    {
    }

    void undo() override { m_selected = m_edit.undo(m_checklist); }
    void redo() override
    {
        if (m_done)
            m_selected = m_edit.redo(m_checklist);
        m_done = true;
    }

    ChecklistHistory::Travelled travelled() const { return {m_selected, m_writesAtOnce}; }

private:
    Checklist& m_checklist;
    ChecklistEdit m_edit;
    bool m_writesAtOnce;
    bool m_done = false;
    std::optional<std::size_t> m_selected;
};

}  // namespace

ChecklistHistory::ChecklistHistory(Checklist& checklist)
    : m_checklist(checklist)
{
}

void ChecklistHistory::record(ChecklistEdit edit, bool writesAtOnce)
{
    if (edit.empty())
        return;
    // The file held the state before this step: that state is the clean one.
    if (edit.startedUnmodified())
        m_stack.setClean();
    m_stack.push(new EditCommand(m_checklist, std::move(edit), writesAtOnce));
}

std::optional<ChecklistHistory::Travelled> ChecklistHistory::undo()
{
    return travel(true);
}

std::optional<ChecklistHistory::Travelled> ChecklistHistory::redo()
{
    return travel(false);
}

std::optional<ChecklistHistory::Travelled> ChecklistHistory::travel(bool back)
{
    if (back ? !m_stack.canUndo() : !m_stack.canRedo())
        return std::nullopt;
    // Whatever was written last, the file now holds the state shown.
    if (!m_checklist.modified())
        m_stack.setClean();
    const int index = back ? m_stack.index() - 1 : m_stack.index();
    back ? m_stack.undo() : m_stack.redo();
    m_checklist.setModified(!m_stack.isClean());
    return static_cast<const EditCommand*>(m_stack.command(index))->travelled();
}

}  // namespace tavik
