#include "files/checklist_writer.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/device_file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

#include <QString>

namespace tavik {

namespace {

const QString kOverwriteUnread
    = QStringLiteral("このファイルは読み込めなかったため、書き込むと元の内容が失われます。書き込みますか？");
const QString kOverwriteChanged = QStringLiteral("ファイルが他のプログラムで変更されています。上書きしますか？");

bool Confirm(QWidget* owner, const QString& question)
{
    return MessageBox::show(owner, question, MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
        == MessageAnswer::Yes;
}

}  // namespace

ChecklistWriter::ChecklistWriter(Checklist& checklist)
    : m_checklist(checklist)
{
}

void ChecklistWriter::rememberFile(std::optional<FileIdentity> identity)
{
    m_path = m_checklist.filePath();
    m_identity = identity;
}

bool ChecklistWriter::changedSince(const std::optional<FileIdentity>& onDisk) const
{
    return m_checklist.filePath() == m_path && onDisk != m_identity;
}

SaveResult ChecklistWriter::SaveCurrentFile(QWidget* owner, Target target)
{
    if (m_checklist.readAsUnicode()
        && MessageBox::show(owner, ToQString(notices::kWriteUnicodeAsAnsi), MessageButtons::OkCancel)
            == MessageAnswer::Cancel) {
        return SaveResult::Cancelled;
    }

    // A file that is not there (any more) loses nothing: it is written as it is.
    const QString path = ToQString(m_checklist.filePath());
    const std::optional<FileIdentity> onDisk = DeviceFileSystem::identity(path);
    if (onDisk && target == Target::OwnFile) {
        if (m_checklist.fileUnread()) {
            if (!Confirm(owner, kOverwriteUnread))
                return SaveResult::Cancelled;
        } else if (changedSince(onDisk) && !Confirm(owner, kOverwriteChanged)) {
            return SaveResult::Cancelled;
        }
    }

    const Outcome<FileIdentity> written = DeviceFileSystem::replaceFile(path, WriteChecklist(m_checklist));
    if (!written) {
        // The old file is untouched and the checklist keeps its changes, marked unsaved.
        showWriteFailure(owner, path, written.reason());
        return SaveResult::Failed;
    }
    rememberFile(*written);
    m_checklist.setFileUnread(false);
    m_checklist.setModified(false);
    return SaveResult::Written;
}

void ChecklistWriter::showWriteFailure(QWidget* owner, const QString& devicePath, const QString& reason)
{
    MessageBox::show(owner, QStringLiteral("ファイルに書き込めませんでした。\n%1\n%2").arg(devicePath, reason),
        MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace tavik
