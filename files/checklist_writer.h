#pragma once

class QString;
class QWidget;

namespace tavik {

class Checklist;

enum class SaveResult {
    Written,  // the file holds the checklist; `modified` is cleared
    Cancelled,  // the user declined to write a Unicode file in CP932; nothing changed
    Failed,  // the file could not be written; it is as it was and the changes stay unsaved
};

// Writes the open checklist back to its file: the one writer of checklist files.
class ChecklistWriter {
public:
    // Asks first when the file was read as Unicode. A failure is reported to the
    // user with its reason; the old file stays as it was.
    static SaveResult SaveCurrentFile(Checklist& checklist, QWidget* owner);

    // Tells the user that the file at `devicePath` could not be written, and why.
    static void showWriteFailure(QWidget* owner, const QString& devicePath, const QString& reason);
};

}  // namespace tavik
