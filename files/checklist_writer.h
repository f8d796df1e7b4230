#pragma once

#include "model/checklist_file.h"
#include "platform/fileio/file_identity.h"

#include <optional>
#include <string>

class QString;
class QWidget;

namespace tavik {

class Checklist;

enum class SaveResult {
    Written,  // the file holds the checklist; `modified` is cleared
    Cancelled,  // the user declined the write (Unicode written as CP932, a file not read whole or changed by
                // another program, characters CP932 cannot hold written as "?")
    Failed,  // the file could not be written; it is as it was and the changes stay unsaved
};

// Writes the open checklist back to its file: the one writer of checklist files. It
// keeps the identity of the file as read or last written, so that a file another
// program has changed since, or one that was never read, is not overwritten without
// the user's word.
class ChecklistWriter {
public:
    explicit ChecklistWriter(Checklist& checklist);

    // Puts each obstacle to the write (WriteObstacles) to the user as its question
    // first, then asks before characters CP932 cannot hold are written as "?"; a "no"
    // writes nothing. A failure is reported to the user with its reason; the old file stays as it was.
    // With no file open (the path ends in "\") nothing is written and the user is pointed to Save As.
    SaveResult SaveCurrentFile(QWidget* owner, WriteTarget target = WriteTarget::OwnFile);

    // The file at the checklist's path as it has just been read (nothing when there was none).
    void rememberFile(std::optional<FileIdentity> identity);
    // True when `onDisk`, the file at the checklist's path as it is now, is not the one
    // read or last written there.
    bool changedSince(const std::optional<FileIdentity>& onDisk) const;

    // Tells the user that the file at `devicePath` could not be written, and why.
    static void showWriteFailure(QWidget* owner, const QString& devicePath, const QString& reason);

private:
    Checklist& m_checklist;
    // The path the identity belongs to: a checklist given another path has no
    // earlier state of that file to compare with.
    std::u16string m_path;
    std::optional<FileIdentity> m_identity;
};

}  // namespace tavik
