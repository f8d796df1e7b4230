#include "tests/support/temporary_device_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tavik {

TemporaryDeviceRoot::TemporaryDeviceRoot() {
    if (!m_dir.isValid()) {
        ADD_FAILURE() << "cannot make a temporary device root: " << m_dir.errorString().toStdString();
        return;
    }
    if (qEnvironmentVariableIsSet("TAVIK_ROOT"))
        m_previousRoot = qgetenv("TAVIK_ROOT");
    qputenv("TAVIK_ROOT", QFile::encodeName(m_dir.path()));
}

TemporaryDeviceRoot::~TemporaryDeviceRoot() {
    if (!m_dir.isValid())
        return;
    if (m_previousRoot)
        qputenv("TAVIK_ROOT", *m_previousRoot);
    else
        qunsetenv("TAVIK_ROOT");
}

QString TemporaryDeviceRoot::hostPath(const QString& relative) const {
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

QString TemporaryDeviceRoot::makeFolder(const QString& relative) const {
    const QString path = hostPath(relative);
    if (!QDir().mkpath(path))
        ADD_FAILURE() << "cannot make folder " << path.toStdString();
    return path;
}

QString TemporaryDeviceRoot::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = hostPath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString() << ": " << file.errorString().toStdString();
    return path;
}

std::optional<QByteArray> TemporaryDeviceRoot::readFile(const QString& relative) const {
    QFile file(hostPath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

}  // namespace tavik
