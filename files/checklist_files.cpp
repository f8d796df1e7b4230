#include "files/checklist_files.h"

#include "files/checklist_host.h"
#include "files/save_as_dlg.h"
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/combo_box.h"
#include "platform/device_file_system.h"
#include "platform/message_box.h"
#include "platform/profile_store.h"
#include "platform/qt_text.h"
#include "platform/resource_types.h"

namespace tavik {

namespace {

const QString kSection = QStringLiteral("MRU");
const QString kFolderEntry = QStringLiteral("Folder");
const QString kFileNameEntry = QStringLiteral("FileName");

// The kinds of the chooser's entries, kept as each entry's value.
enum EntryKind : std::uint32_t { kFileEntry = 0, kFolderEntryKind = 1, kUpEntry = 2 };

const QString kUpText = QStringLiteral("△[上のフォルダへ]");
const QString kNoFilesText = QStringLiteral("ファイルが見つかりません。システムルートに戻ります。");
const QString kDiscardText = QStringLiteral("変更は保存されていません。破棄しますか？");
const QString kWrittenText = QStringLiteral("書き込みました");
const QString kEmptyNameText = QStringLiteral("ファイル名が空っぽ？");
const QString kUnusableNameText = QStringLiteral("ファイル名に使えない文字が含まれています。");
const QString kCreateEmptyText = QStringLiteral("空のファイルを作成します");

void Remember(const QString& entry, const QString& value)
{
    ProfileStore::writeString(kSection, entry, value);
}

// The folder and the file to open there ("" for none), for the next load and the next start.
void RememberFile(const QString& folder, const QString& fileName)
{
    Remember(kFolderEntry, folder);
    Remember(kFileNameEntry, fileName);
}

// A name that would leave the folder, or that no file can carry, is refused.
bool IsUsableFileName(const QString& name)
{
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return name.count(QLatin1Char('.')) != name.size();
}

MessageIcon IconOf(const Notice& notice)
{
    return notice.icon == NoticeIcon::Information ? MessageIcon::Information : MessageIcon::None;
}

}  // namespace

ChecklistFiles::ChecklistFiles(Checklist& checklist, ChecklistHost& host)
    : m_checklist(checklist)
    , m_host(host)
{
}

QString ChecklistFiles::rememberedFolder()
{
    return ProfileStore::readString(kSection, kFolderEntry);
}

QString ChecklistFiles::rememberedFileName()
{
    return ProfileStore::readString(kSection, kFileNameEntry);
}

void ChecklistFiles::LoadCurrentFile()
{
    if (m_checklist.modified())
        SaveCurrentFile();
    m_checklist.setModified(false);
    m_host.beginReplaceRows();
    m_checklist.reset();
    const QString path = rememberedFolder() + QLatin1Char('\\') + rememberedFileName();
    m_checklist.setFilePath(path.toStdU16String());
    m_host.startFileSelectTimer();
    m_checklist.setReadAsUnicode(false);

    // A file that cannot be opened leaves the checklist empty, without a word.
    std::vector<Notice> notices;
    if (const Outcome<std::string> bytes = DeviceFileSystem::readFile(path))
        notices = ReadChecklist(*bytes, m_checklist).notices;
    m_host.endReplaceRows();
    for (const Notice& notice : notices)
        MessageBox::show(m_host.dialogOwner(), ToQString(notice.text), MessageButtons::Ok, IconOf(notice));
    m_host.UpdateCounter();
}

SaveResult ChecklistFiles::SaveCurrentFile()
{
    return ChecklistWriter::SaveCurrentFile(m_checklist, m_host.dialogOwner());
}

void ChecklistFiles::OpenRememberedFile()
{
    FillFileCombo(rememberedFolder());
    LoadCurrentFile();
}

void ChecklistFiles::FillFileCombo(const QString& folder)
{
    ComboBox& combo = m_host.chooser();
    const auto fill = [&combo](const QString& from) {
        combo.resetContent();
        // One listing of the folder; the sorted box puts the entries in order.
        const Outcome<QList<DirectoryEntry>> listing = DeviceFileSystem::list(from);
        int added = 0;
        for (const DirectoryEntry& entry : listing ? *listing : QList<DirectoryEntry>()) {
            if (entry.isFolder) {
                combo.addString(QStringLiteral("∇[%1]").arg(entry.name), kFolderEntryKind);
                ++added;
            } else if (DeviceFileSystem::matchesPattern(entry.name, QStringLiteral("*.lst"))
                || DeviceFileSystem::matchesPattern(entry.name, QStringLiteral("*.txt"))) {
                combo.addString(QLatin1Char(' ') + entry.name, kFileEntry);
                ++added;
            }
        }
        if (!from.isEmpty())
            combo.addString(kUpText, kUpEntry);
        return added;
    };
    if (fill(folder) > 0)
        return;
    MessageBox::show(m_host.dialogOwner(), kNoFilesText);
    Remember(kFolderEntry, QString());
    fill(QString());
}

void ChecklistFiles::OnSelectFileCombo()
{
    ComboBox& combo = m_host.chooser();
    const int index = combo.currentIndex();
    if (index < 0)
        return;
    const QString text = combo.itemText(index);
    const std::uint32_t kind = combo.itemValue(index);
    if (!releaseChanges()) {
        // The open checklist stays, and the chooser shows it again.
        selectOpenFile();
        return;
    }
    switch (kind) {
    case kFolderEntryKind:
        RememberFile(rememberedFolder() + QLatin1Char('\\') + text.mid(2).chopped(1), QString());
        OpenRememberedFile();
        break;
    case kUpEntry: {
        // A folder stored with a trailing "\" by Save As goes straight up to the root.
        const QString folder = rememberedFolder();
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('\\'));
        RememberFile(slash < 0 || folder.endsWith(QLatin1Char('\\')) ? QString() : folder.left(slash), QString());
        OpenRememberedFile();
        break;
    }
    default:
        Remember(kFileNameEntry, text.mid(1));
        LoadCurrentFile();
        break;
    }
}

void ChecklistFiles::selectOpenFile()
{
    selectInCombo(QLatin1Char(' ') + rememberedFileName());
}

void ChecklistFiles::selectInCombo(const QString& prefix)
{
    m_host.chooser().selectString(0, prefix);
}

bool ChecklistFiles::releaseChanges()
{
    if (!m_checklist.modified() || SaveCurrentFile() == SaveResult::Written)
        return true;
    if (MessageBox::show(m_host.dialogOwner(), kDiscardText, MessageButtons::YesNo, MessageIcon::Warning)
        != MessageAnswer::Yes)
        return false;
    m_checklist.setModified(false);
    return true;
}

QString ChecklistFiles::targetFolder() const
{
    const QString path = ToQString(m_checklist.filePath());
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? path : path.left(slash + 1);
}

std::optional<QString> ChecklistFiles::askFileName(const QString& folder)
{
    CSaveAsDlg dialog(m_host.dialogOwner());
    dialog.m_strFolder = folder;
    if (dialog.runModal() != IDOK)
        return std::nullopt;
    if (dialog.m_strFileName.isEmpty()) {
        MessageBox::show(m_host.dialogOwner(), kEmptyNameText);
        return std::nullopt;
    }
    if (!IsUsableFileName(dialog.m_strFileName)) {
        MessageBox::show(m_host.dialogOwner(), kUnusableNameText);
        return std::nullopt;
    }
    return dialog.m_strFileName + QStringLiteral(".lst");
}

void ChecklistFiles::OnSaveFile()
{
    if (SaveCurrentFile() == SaveResult::Written)
        MessageBox::show(m_host.dialogOwner(), kWrittenText, MessageButtons::Ok, MessageIcon::Information);
}

void ChecklistFiles::OnSaveFileAs()
{
    const QString folder = targetFolder();
    const std::optional<QString> fileName = askFileName(folder);
    if (!fileName)
        return;
    const std::u16string previousPath = m_checklist.filePath();
    m_checklist.setFilePath((folder + *fileName).toStdU16String());
    if (SaveCurrentFile() != SaveResult::Written) {
        // Nothing was written under the new name: the checklist stays with its own file.
        m_checklist.setFilePath(previousPath);
        return;
    }
    RememberFile(folder, *fileName);
    OpenRememberedFile();
}

void ChecklistFiles::OnCreateEmptyFile()
{
    MessageBox::show(m_host.dialogOwner(), kCreateEmptyText);
    const QString folder = targetFolder();
    const std::optional<QString> fileName = askFileName(folder);
    if (!fileName || !releaseChanges())
        return;
    // None of the open checklist's rows may reach the new file.
    m_checklist.setModified(false);
    const QString path = folder + *fileName;
    if (const Outcome<> created = DeviceFileSystem::replaceFile(path, {}); !created) {
        ChecklistWriter::showWriteFailure(m_host.dialogOwner(), path, created.reason());
        return;
    }
    m_checklist.setFilePath(path.toStdU16String());
    RememberFile(folder, *fileName);
    OpenRememberedFile();
}

}  // namespace tavik
