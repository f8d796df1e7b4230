#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace tavik {

// Tells when a file or the entries of a folder, both named by device paths, change on
// disk. Changes that come close together (a program writing in steps, a file renamed
// over another) are told once, after a short quiet time.
class FileWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 250;

    // `onChange` returns false when it cannot take the change now; it is told again
    // after the next quiet time.
    explicit FileWatch(std::function<bool()> onChange, QObject* parent = nullptr);

    // Watches `file` and `folder` ("" for the root) instead of whatever was watched
    // before. A file that is not there yet is watched once it appears in the folder.
    void watch(const QString& file, const QString& folder);

private:
    void rearm();

    std::function<bool()> m_onChange;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QString m_file;
    QString m_folder;
};

}  // namespace tavik
