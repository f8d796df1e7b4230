#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {

// A fresh, empty device root in a temporary folder: $TAVIK_ROOT points at it while this
// object lives. Paths given to the helpers are relative to the root, with "/" between the parts.
class TemporaryDeviceRoot {
public:
    TemporaryDeviceRoot() { EXPECT_TRUE(m_dir.isValid() && qputenv("TAVIK_ROOT", QFile::encodeName(m_dir.path()))); }
    ~TemporaryDeviceRoot() { qputenv("TAVIK_ROOT", m_previousRoot); }

    // The host path of `relative` under the root (the root itself for "").
    QString hostPath(const QString& relative = QString()) const
    {
        return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
    }

    // Creates the folder and those before it; gives its host path.
    QString makeFolder(const QString& relative) const
    {
        EXPECT_TRUE(QDir().mkpath(hostPath(relative))) << "cannot make " << relative.toStdString();
        return hostPath(relative);
    }

    // Writes the file, creating its folders; gives its host path.
    QString writeFile(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(hostPath(relative));
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly)
            && file.write(bytes) == bytes.size())
            << "cannot write " << relative.toStdString();
        return file.fileName();
    }

    // The file's bytes, or nothing when it cannot be read.
    std::optional<QByteArray> readFile(const QString& relative) const
    {
        QFile file(hostPath(relative));
        return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
    }

private:
    const QByteArray m_previousRoot = qgetenv("TAVIK_ROOT");
    QTemporaryDir m_dir;
};

}  // namespace tavik
