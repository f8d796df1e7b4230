#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace tavik {

// A fresh, empty device root in a temporary folder: $TAVIK_ROOT points at it
// while this object lives and gets its former value back afterwards. Paths given
// to the helpers are relative to the root, with "/" between the parts.
class TemporaryDeviceRoot {
public:
    TemporaryDeviceRoot();
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    bool isValid() const { return m_dir.isValid(); }

    // The host path of `relative` under the root (the root itself for "").
    QString hostPath(const QString& relative = QString()) const;

    // Creates the folder with any folders before it; returns its host path.
    QString makeFolder(const QString& relative) const;

    // Writes the file, creating its folders; returns its host path.
    QString writeFile(const QString& relative, const QByteArray& bytes) const;

    // The file's bytes, or nothing when it cannot be read.
    std::optional<QByteArray> readFile(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previousRoot;
};

}  // namespace tavik
