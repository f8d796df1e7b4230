#include "files/checklist_writer.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/device_file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

#include <QString>

namespace tavik {

SaveResult ChecklistWriter::SaveCurrentFile(Checklist& checklist, QWidget* owner)
{
    if (checklist.readAsUnicode()
        && MessageBox::show(owner, ToQString(notices::kWriteUnicodeAsAnsi), MessageButtons::OkCancel)
            == MessageAnswer::Cancel) {
        return SaveResult::Cancelled;
    }

    const QString path = ToQString(checklist.filePath());
    const Outcome<> written = DeviceFileSystem::replaceFile(path, WriteChecklist(checklist));
    if (!written) {
        // The old file is untouched and the checklist keeps its changes, marked unsaved.
        showWriteFailure(owner, path, written.reason());
        return SaveResult::Failed;
    }
    checklist.setModified(false);
    return SaveResult::Written;
}

void ChecklistWriter::showWriteFailure(QWidget* owner, const QString& devicePath, const QString& reason)
{
    MessageBox::show(owner, QStringLiteral("ファイルに書き込めませんでした。\n%1\n%2").arg(devicePath, reason),
        MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace tavik
