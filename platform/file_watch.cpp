#include "platform/file_watch.h"

#include "platform/device_path.h"

#include <QFileInfo>

namespace tavik {

FileWatch::FileWatch(std::function<bool()> onChange, QObject* parent)
    : QObject(parent)
    , m_onChange(std::move(onChange))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_quiet, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_quiet, qOverload<>(&QTimer::start));
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        // A file replaced by a rename is no longer watched under its name: watch it again.
        rearm();
        if (!m_onChange())
            m_quiet.start();
    });
}

void FileWatch::watch(const QString& file, const QString& folder)
{
    m_file = file;
    m_folder = folder;
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    rearm();
}

void FileWatch::rearm()
{
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    const auto add = [&](const QString& devicePath) {
        const std::optional<QString> host = DevicePath::toHost(devicePath);
        if (host && QFileInfo::exists(*host) && !watched.contains(*host))
            m_watcher.addPath(*host);
    };
    if (!m_file.isEmpty())
        add(m_file);
    add(m_folder);
}

}  // namespace tavik
