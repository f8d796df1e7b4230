#pragma once

#include "files/checklist_writer.h"
#include "platform/file_watch.h"
#include "platform/outcome.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavik {

class Checklist;
class ChecklistHost;

// A checklist file or a folder of the device, as the profile remembers it.
struct ChecklistLocation {
    QString folder;  // "" for the root, else "\" before each part
    QString fileName;  // "" for the folder alone
};

// The file behind the open checklist: the chooser of folders and files, the folder
// and file remembered for the next start (profile section "MRU"), loading, and the
// save, save-as and new-file commands. It watches the open file and the listed
// folder: a file another program changed is shown again while nothing here is
// unsaved, and the chooser follows files that come and go. Whatever it needs of the
// screen goes through the host.
class ChecklistFiles {
public:
    ChecklistFiles(Checklist& checklist, ChecklistHost& host);

    // Writes back unsaved changes, then reads the remembered folder's file into the
    // checklist, shows what the reading has to tell and refreshes the counter. A file
    // that is there but is not read (it cannot be opened or decoded, or is refused)
    // leaves the checklist empty and marked as not read, so no write replaces it unasked.
    void LoadCurrentFile();
    // The one writer of checklist files; see ChecklistWriter.
    SaveResult SaveCurrentFile();

    // Lists the remembered folder in the chooser and loads the remembered file.
    void OpenRememberedFile();
    // Replaces the chooser's entries with the checklist files and folders of `folder`
    // ("" for the root); an empty folder sends the chooser back to the root.
    void FillFileCombo(const QString& folder);
    // The user chose an entry of the chooser: a file opens, a folder or "up" is listed.
    void OnSelectFileCombo();
    // Selects the open file's own entry in the chooser, or none while no file is open (at
    // the first showing, a second after each load, and when the user kept the open
    // checklist instead of another).
    void selectOpenFile();

    void OnSaveFile();
    void OnSaveFileAs();
    void OnCreateEmptyFile();

    // The remembered folder and file (profile "MRU"/"Folder" and "MRU"/"FileName"); the
    // folder as the chooser keeps it, "" for the root, else "\" before each name.
    static QString rememberedFolder();
    static QString rememberedFileName();

    // The checklist file or the folder that a host path names (the command line, "Open
    // with"), or the message that refuses it, naming `hostPath` as given: a path that
    // names nothing, lies outside the device root, or names a file the chooser would not
    // list (not a regular file, or not ".lst" or ".txt").
    static Outcome<ChecklistLocation> locateHostPath(const QString& hostPath);
    // Makes `location` the remembered folder and file, as a choice in the chooser does.
    static void rememberLocation(const ChecklistLocation& location);
    // Opens what `hostPath` names as a choice in the chooser would: writes back the open
    // checklist first as a switch of files does (declining to drop changes that could not
    // be written keeps it open), lists the folder and loads the file. A refused path is told.
    void openHostPath(const QString& hostPath);

    // Something changed on disk in the open file or the listed folder; false when it
    // must wait (a modal window is open).
    bool OnDiskChanged();

private:
    // Writes back unsaved changes before another file takes their place. When they
    // cannot be written (or the user cancelled the write), asks whether to drop
    // them; false keeps the open checklist as it is.
    bool releaseChanges();
    // The file name the user typed in the save-as dialog, with ".lst" added, or nothing
    // when the user cancelled, the name cannot be used (the user has been told why), or
    // another file has that name and the user would not have it replaced.
    std::optional<QString> askFileName(const QString& folder);
    // True when `path` names an existing file other than the open one.
    bool replacesAnotherFile(const QString& path) const;
    // The folder of the open file, where Save As and New file write.
    QString targetFolder() const;
    // The chooser's entries for `folder`, as "text" and kind pairs in the chooser's
    // order of adding; fills nothing.
    QList<std::pair<QString, std::uint32_t>> entriesOf(const QString& folder) const;
    // Fills the chooser with `entries` ("up" added for a folder other than the root).
    void showEntries(const QString& folder, const QList<std::pair<QString, std::uint32_t>>& entries);
    // Lists the remembered folder again when its entries changed, keeping the chooser's selection.
    void refreshChooser();
    // Reads the open file again, keeping the selected row where it still exists.
    void reload();

    Checklist& m_checklist;
    ChecklistHost& m_host;
    ChecklistWriter m_writer{m_checklist};
    FileWatch m_watch{[this] { return OnDiskChanged(); }};
};

}  // namespace tavik
