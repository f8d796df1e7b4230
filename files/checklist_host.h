#pragma once

#include <optional>

class QWidget;

namespace tavik {

class ComboBox;

// What loading and choosing checklist files need of the screen that shows them.
class ChecklistHost {
public:
    virtual ~ChecklistHost() = default;

    // Another file's rows have taken the place of the checklist's.
    virtual void checklistReplaced() = 0;

    // Recounts the marks into the counter.
    virtual void UpdateCounter() = 0;

    // Starts the one-shot timer that selects the open file in the chooser a
    // second after each load (ChecklistFiles::selectOpenFile).
    virtual void startFileSelectTimer() = 0;

    virtual ComboBox& chooser() = 0;

    // The list's selected row, and selecting one (brought into sight).
    virtual std::optional<int> selectedRow() const = 0;
    virtual void selectRow(int row) = 0;

    // The window that message boxes and dialogs open over.
    virtual QWidget* dialogOwner() = 0;
};

}  // namespace tavik
