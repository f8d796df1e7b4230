#pragma once

#include "platform/stand_in.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QToolButton;

namespace tavik {

// What a file-open dialog is asked to show; what a stand-in receives.
struct FileOpenRequest {
    QWidget* owner = nullptr;
    QString filter;
};

// The program's "開く" dialog: picks an existing file on the device.
//
// It is a small dialog of its own over QFileSystemModel rather than a QFileDialog:
// QFileDialog offers many ways out of a folder (sidebar, look-in history, host paths
// typed in full, drag and drop, rename and delete), while here the list is rooted in
// the device root, folders are named as device paths and every typed name is read as
// a device path, so nothing outside the root can be reached or chosen.
class FileOpenDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog modally over `owner`; returns the chosen file's device path (the
    // names as they are on disk), or nothing when cancelled. `filter` lists description
    // and pattern pairs, "text file(*.txt)|*.txt|AllFile(*.*)|*.*||"; a pattern may hold
    // several patterns separated by ";", and "*.*" is every file. The first description
    // is chosen at the start. Patterns ignore case, as the device does.
    static std::optional<QString> getOpenFileName(QWidget* owner, const QString& filter);

    // While set, every call is answered by the stand-in (the "next file name") instead of a real dialog.
    static inline StandIn<std::optional<QString>(const FileOpenRequest&)> standIn;

private:
    FileOpenDialog(QWidget* owner, const QString& filter);

    // Lists `folder` (device path parts; empty for the root).
    void showFolder(const QStringList& folder);
    // Acts on the name typed or picked: enters a folder, chooses a file, or says why it cannot.
    void openNamed();
    void refuse(const QString& message);
    void showChoice(int index);

    QFileSystemModel* m_model;
    QLabel* m_folderLabel;
    QToolButton* m_up;
    QListView* m_list;
    QLineEdit* m_name;
    QComboBox* m_types;
    QStringList m_folder;
    std::optional<QString> m_chosen;
};

}  // namespace tavik
