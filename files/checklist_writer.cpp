#include "files/checklist_writer.h"

#include "model/checklist.h"
#include "platform/device_file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

#include <QString>

namespace tavik {

namespace {

const QString kOverwriteUnread
    = QStringLiteral("このファイルは読み込めなかったため、書き込むと元の内容が失われます。書き込みますか？");
const QString kOverwriteChanged = QStringLiteral("ファイルが他のプログラムで変更されています。上書きしますか？");
const QString kNoFileOpen = QStringLiteral("ファイルが開かれていません。「名前を付けて保存」で保存してください。");

// The user's word on one obstacle to a write: true goes on with the write.
bool Confirm(QWidget* owner, WriteObstacle obstacle)
{
    switch (obstacle) {
    case WriteObstacle::ReadAsUnicode:
        return MessageBox::show(owner, ToQString(notices::kWriteUnicodeAsAnsi), MessageButtons::OkCancel)
            == MessageAnswer::Ok;
    case WriteObstacle::NotRead:
        return MessageBox::show(owner, kOverwriteUnread, MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
            == MessageAnswer::Yes;
    case WriteObstacle::ChangedOnDisk:
        return MessageBox::show(owner, kOverwriteChanged, MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
            == MessageAnswer::Yes;
    }
    return false;
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

SaveResult ChecklistWriter::SaveCurrentFile(QWidget* owner, WriteTarget target)
{
    const QString path = ToQString(m_checklist.filePath());
    // A folder entered with no file chosen leaves a path that names the folder itself.
    if (path.isEmpty() || path.endsWith(QLatin1Char('\\'))) {
        MessageBox::show(owner, kNoFileOpen, MessageButtons::Ok, MessageIcon::Warning);
        return SaveResult::Failed;
    }
    const std::optional<FileIdentity> onDisk = DeviceFileSystem::identity(path);
    for (const WriteObstacle obstacle :
        WriteObstacles(m_checklist, target, {.exists = onDisk.has_value(), .changedSinceRead = changedSince(onDisk)})) {
        if (!Confirm(owner, obstacle))
            return SaveResult::Cancelled;
    }

    Cp932Codec::Unencodable unencodable;
    const std::string bytes = WriteChecklist(m_checklist, &unencodable);
    if (unencodable.count != 0
        && MessageBox::show(owner, ToQString(notices::ReplaceUnencodableQuestion(unencodable)),
               MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
            != MessageAnswer::Yes)
        return SaveResult::Cancelled;

    const Outcome<FileIdentity> written = DeviceFileSystem::replaceFile(path, bytes);
    if (!written) {
        // The old file is untouched and the checklist keeps its changes, marked unsaved.
        showWriteFailure(owner, path, written.reason());
        return SaveResult::Failed;
    }
    rememberFile(*written);
    if (unencodable.count != 0)
        TakeWrittenForm(m_checklist);
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
