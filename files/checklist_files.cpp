#include "files/checklist_files.h"

#include "files/checklist_host.h"
#include "files/save_as_dlg.h"
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/combo_box.h"
#include "platform/device_file_system.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/profile_store.h"
#include "platform/qt_text.h"
#include "platform/resource_types.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

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
const QString kReplaceText = QStringLiteral("「%1」は既にあります。上書きしますか？");
const QString kNotFoundText = QStringLiteral("ファイルが見つかりません。\n%1");
const QString kOutsideRootText = QStringLiteral("このファイルはデバイスのルートの外にあるため開けません。\n%1");
const QString kNotChecklistText = QStringLiteral("チェックリスト（.lst、.txt）ではないため開けません。\n%1");

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

// A folder in its one form, as the chooser and the profile keep it: "" for the root, else "\"
// before each name. A profile written by an earlier version may hold doubled or trailing
// separators ("\a\\b\"); they name the same folder.
QString NormalFolder(const QString& folder)
{
    const QStringList names = DevicePath::parts(folder);
    return names.isEmpty() ? QString() : QLatin1Char('\\') + names.join(QLatin1Char('\\'));
}

// The device path of `name` in `folder`; with no name, the folder as the save-as dialog shows it,
// ending in one "\".
QString InFolder(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('\\') + name;
}

// The files the chooser lists.
bool IsChecklistName(const QString& name)
{
    return DeviceFileSystem::matchesPattern(name, QStringLiteral("*.lst"))
        || DeviceFileSystem::matchesPattern(name, QStringLiteral("*.txt"));
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

QString TooLargeText(const QString& path, std::int64_t size)
{
    const QLocale numbers(QLocale::Japanese);
    return QStringLiteral("ファイルが大きすぎます。\n%1\n%2 バイト（読み込めるのは %3 バイトまで）")
        .arg(path, numbers.toString(qint64(size)), numbers.toString(qint64(FileIo::kMaxReadBytes)));
}

MessageIcon IconOf(const Notice& notice)
{
    switch (notice.icon) {
    case NoticeIcon::Information:
        return MessageIcon::Information;
    case NoticeIcon::Warning:
        return MessageIcon::Warning;
    case NoticeIcon::None:
        break;
    }
    return MessageIcon::None;
}

}  // namespace

ChecklistFiles::ChecklistFiles(Checklist& checklist, ChecklistHost& host)
    : m_checklist(checklist)
    , m_host(host)
{
}

QString ChecklistFiles::rememberedFolder()
{
    return NormalFolder(ProfileStore::readString(kSection, kFolderEntry));
}

QString ChecklistFiles::rememberedFileName()
{
    return ProfileStore::readString(kSection, kFileNameEntry);
}

Outcome<ChecklistLocation> ChecklistFiles::locateHostPath(const QString& hostPath)
{
    using Located = Outcome<ChecklistLocation>;
    const QFileInfo info(hostPath);
    if (!info.exists())
        return Located::failure(kNotFoundText.arg(hostPath));
    const std::optional<QString> device = DevicePath::fromHost(hostPath);
    if (!device)
        return Located::failure(kOutsideRootText.arg(hostPath));
    if (info.isDir())
        return ChecklistLocation{*device, QString()};
    // The name the device knows it by: a link's own name under the root, else its target's.
    const qsizetype slash = device->lastIndexOf(QLatin1Char('\\'));
    const QString name = device->mid(slash + 1);
    if (!info.isFile() || !IsChecklistName(name))
        return Located::failure(kNotChecklistText.arg(hostPath));
    return ChecklistLocation{device->left(slash), name};
}

void ChecklistFiles::rememberLocation(const ChecklistLocation& location)
{
    RememberFile(location.folder, location.fileName);
}

void ChecklistFiles::openHostPath(const QString& hostPath)
{
    const Outcome<ChecklistLocation> location = locateHostPath(hostPath);
    if (!location) {
        MessageBox::show(m_host.dialogOwner(), location.reason(), MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (!releaseChanges())
        return;
    rememberLocation(*location);
    OpenRememberedFile();
    selectOpenFile();
}

void ChecklistFiles::LoadCurrentFile()
{
    if (m_checklist.modified())
        SaveCurrentFile();
    m_checklist.setModified(false);
    m_checklist.reset();
    const QString folder = rememberedFolder();
    const QString path = InFolder(folder, rememberedFileName());
    m_checklist.setFilePath(path.toStdU16String());
    m_host.startFileSelectTimer();
    m_checklist.setReadAsUnicode(false);

    // A file that cannot be opened leaves the checklist empty, without a word; one that
    // is too large is named with its size.
    QList<std::pair<QString, MessageIcon>> messages;
    const Result<FileContents, ReadFailure> read = DeviceFileSystem::readFile(path);
    if (read) {
        const ChecklistReadResult result = ReadChecklist(read->bytes, m_checklist);
        for (const Notice& notice : result.notices)
            messages.append({ToQString(notice.text), IconOf(notice)});
        m_writer.rememberFile(read->identity);
        m_checklist.setFileUnread(!result.wholeFileRead);
    } else {
        if (read.reason().kind == ReadFailure::Kind::TooLarge)
            messages.append({TooLargeText(path, read.reason().size), MessageIcon::None});
        m_writer.rememberFile(DeviceFileSystem::identity(path));
        const FileStatus status = DeviceFileSystem::status(path);
        m_checklist.setFileUnread(status.exists && !status.isFolder);
    }
    // Watched before any message is shown, so that what changes while it is read is seen.
    m_watch.watch(path, folder);
    m_host.checklistReplaced();
    for (const auto& [text, icon] : messages)
        MessageBox::show(m_host.dialogOwner(), text, MessageButtons::Ok, icon);
    m_host.UpdateCounter();
}

bool ChecklistFiles::OnDiskChanged()
{
    // Nothing is read again under an open message box or dialog, nor under the chooser's open
    // listing: that waits until they close.
    if (QApplication::activeModalWidget() || m_host.chooser().view()->isVisible())
        return false;
    // Another program wrote the open file: while nothing here is unsaved, show what it
    // wrote. A file that went away leaves the list as it is.
    const std::optional<FileIdentity> onDisk = DeviceFileSystem::identity(ToQString(m_checklist.filePath()));
    if (!m_checklist.modified() && onDisk && m_writer.changedSince(onDisk))
        reload();
    refreshChooser();
    return true;
}

void ChecklistFiles::reload()
{
    const std::optional<int> row = m_host.selectedRow();
    LoadCurrentFile();
    if (row && static_cast<std::size_t>(*row) < m_checklist.rowCount())
        m_host.selectRow(*row);
}

void ChecklistFiles::refreshChooser()
{
    ComboBox& combo = m_host.chooser();
    const QString folder = rememberedFolder();
    const QList<std::pair<QString, std::uint32_t>> entries = entriesOf(folder);
    QList<std::pair<QString, std::uint32_t>> shown;
    for (int i = 0; i < combo.count(); ++i)
        shown.append({combo.itemText(i), combo.itemValue(i)});
    if (!folder.isEmpty())
        shown.removeOne({kUpText, kUpEntry});
    std::sort(shown.begin(), shown.end());
    QList<std::pair<QString, std::uint32_t>> sorted = entries;
    std::sort(sorted.begin(), sorted.end());
    if (shown == sorted)
        return;
    const QString selected = combo.currentIndex() >= 0 ? combo.itemText(combo.currentIndex()) : QString();
    showEntries(folder, entries);
    combo.setCurrentIndex(combo.findText(selected));
}

SaveResult ChecklistFiles::SaveCurrentFile()
{
    return m_writer.SaveCurrentFile(m_host.dialogOwner());
}

void ChecklistFiles::OpenRememberedFile()
{
    FillFileCombo(rememberedFolder());
    LoadCurrentFile();
}

void ChecklistFiles::FillFileCombo(const QString& folder)
{
    QString listed = folder;
    QList<std::pair<QString, std::uint32_t>> entries = entriesOf(folder);
    if (entries.isEmpty()) {
        MessageBox::show(m_host.dialogOwner(), kNoFilesText);
        Remember(kFolderEntry, QString());
        listed.clear();
        entries = entriesOf(listed);
    }
    showEntries(listed, entries);
}

QList<std::pair<QString, std::uint32_t>> ChecklistFiles::entriesOf(const QString& folder) const
{
    QList<std::pair<QString, std::uint32_t>> entries;
    // One listing of the folder; the sorted box puts the entries in order.
    const Outcome<QList<DirectoryEntry>> listing = DeviceFileSystem::list(folder);
    for (const DirectoryEntry& entry : listing ? *listing : QList<DirectoryEntry>()) {
        if (entry.isFolder) {
            entries.append({QStringLiteral("∇[%1]").arg(entry.name), kFolderEntryKind});
        } else if (IsChecklistName(entry.name)) {
            entries.append({QLatin1Char(' ') + entry.name, kFileEntry});
        }
    }
    return entries;
}

void ChecklistFiles::showEntries(const QString& folder, const QList<std::pair<QString, std::uint32_t>>& entries)
{
    ComboBox& combo = m_host.chooser();
    combo.resetContent();
    for (const auto& [text, kind] : entries)
        combo.addString(text, kind);
    if (!folder.isEmpty())
        combo.addString(kUpText, kUpEntry);
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
        RememberFile(InFolder(rememberedFolder(), text.mid(2).chopped(1)), QString());
        OpenRememberedFile();
        break;
    case kUpEntry: {
        // "\a\b" goes up to "\a", "\a" to the root.
        const QString folder = rememberedFolder();
        RememberFile(folder.left(folder.lastIndexOf(QLatin1Char('\\'))), QString());
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
    // No entry is " " alone, so with no file open nothing is selected.
    ComboBox& combo = m_host.chooser();
    combo.setCurrentIndex(combo.findStringExact(QLatin1Char(' ') + rememberedFileName()));
}

bool ChecklistFiles::releaseChanges()
{
    if (!m_checklist.modified() || SaveCurrentFile() == SaveResult::Written)
        return true;
    if (MessageBox::show(m_host.dialogOwner(), kDiscardText, MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
        != MessageAnswer::Yes)
        return false;
    m_checklist.setModified(false);
    return true;
}

QString ChecklistFiles::targetFolder() const
{
    const QString path = ToQString(m_checklist.filePath());
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    return NormalFolder(slash < 0 ? path : path.left(slash));
}

std::optional<QString> ChecklistFiles::askFileName(const QString& folder)
{
    CSaveAsDlg dialog(m_host.dialogOwner());
    dialog.m_strFolder = InFolder(folder, QString());
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
    const QString fileName = dialog.m_strFileName + QStringLiteral(".lst");
    if (replacesAnotherFile(InFolder(folder, fileName))
        && MessageBox::show(
               m_host.dialogOwner(), kReplaceText.arg(fileName), MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
            != MessageAnswer::Yes)
        return std::nullopt;
    return fileName;
}

bool ChecklistFiles::replacesAnotherFile(const QString& path) const
{
    // The target is looked up as a write finds it, ignoring case, so the question names the
    // file that would be lost. The open file, under any spelling or link, is simply rewritten.
    const FileStatus target = DeviceFileSystem::status(path);
    if (!target.exists || target.isFolder)
        return false;
    const std::optional<FileIdentity> replaced = DeviceFileSystem::identity(path);
    const std::optional<FileIdentity> open = DeviceFileSystem::identity(ToQString(m_checklist.filePath()));
    return !replaced || !open || replaced->device != open->device || replaced->inode != open->inode;
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
    m_checklist.setFilePath(InFolder(folder, *fileName).toStdU16String());
    if (m_writer.SaveCurrentFile(m_host.dialogOwner(), WriteTarget::NewName) != SaveResult::Written) {
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
    const QString path = InFolder(folder, *fileName);
    if (const Outcome<FileIdentity> created = DeviceFileSystem::replaceFile(path, {}); !created) {
        ChecklistWriter::showWriteFailure(m_host.dialogOwner(), path, created.reason());
        return;
    }
    m_checklist.setFilePath(path.toStdU16String());
    RememberFile(folder, *fileName);
    OpenRememberedFile();
}

}  // namespace tavik
