#include "platform/device_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tavik {

namespace {

const QString kProgramFiles = QStringLiteral("Program Files");

QString& BundledSlot()
{
    static QString bundled;
    return bundled;
}

QString JoinHost(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool IsRefusedPart(const QString& part)
{
    return part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('/'))
        || part.contains(QChar(u'\0'));
}

// The entry of `folder` that `part` names: the exact name, else the first name
// (in name order) that matches ignoring case. Names holding "\" never match.
std::optional<QString> FindEntry(const QString& folder, const QString& part)
{
    const QString exact = JoinHost(folder, part);
    if (QFileInfo(exact).exists())
        return exact;
    const QStringList names
        = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (DevicePath::isDeviceName(name) && name.compare(part, Qt::CaseInsensitive) == 0)
            return JoinHost(folder, name);
    }
    return std::nullopt;
}

struct Resolution {
    std::optional<QString> existing;  // every part found
    std::optional<QString> newEntry;  // all but the last part found, and they lead to a folder
};

Resolution Resolve(const QString& base, const QStringList& parts)
{
    QString current = base;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<QString> next = FindEntry(current, parts[i]);
        if (!next) {
            if (i == parts.size() - 1 && QFileInfo(current).isDir())
                return {std::nullopt, JoinHost(current, parts[i])};
            return {};
        }
        current = *next;
    }
    return {current, std::nullopt};
}

// The device path of `hostPath` when it lies under `base`, with `prefix` put before it.
std::optional<QString> RelativeDevicePath(const QString& base, const QString& hostPath, const QString& prefix)
{
    if (base.isEmpty())
        return std::nullopt;
    const QString cleanBase = QDir::cleanPath(base);
    const QString relative = QDir(cleanBase).relativeFilePath(hostPath);
    if (relative == QLatin1String("."))
        return prefix;
    if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") || QDir::isAbsolutePath(relative))
        return std::nullopt;
    const QStringList names = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        if (!DevicePath::isDeviceName(name))
            return std::nullopt;
    }
    return prefix + QLatin1Char('\\') + names.join(QLatin1Char('\\'));
}

}  // namespace

QString DevicePath::hostRoot()
{
    const QString root = qEnvironmentVariable("TAVIK_ROOT");
    return QDir::cleanPath(root.isEmpty() ? QDir::homePath() : QFileInfo(root).absoluteFilePath());
}

QStringList DevicePath::parts(const QString& devicePath)
{
    return devicePath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

bool DevicePath::isDeviceName(const QString& hostName)
{
    return !hostName.contains(QLatin1Char('\\'));
}

std::optional<QString> DevicePath::toHost(const QString& devicePath)
{
    const QStringList names = parts(devicePath);
    for (const QString& name : names) {
        if (IsRefusedPart(name))
            return std::nullopt;
    }
    const Resolution underRoot = Resolve(hostRoot(), names);
    if (underRoot.existing)
        return underRoot.existing;

    // The bundled folder only lends what it holds: new files are never placed in it.
    const QString& bundled = BundledSlot();
    if (!bundled.isEmpty() && !names.isEmpty() && names.front().compare(kProgramFiles, Qt::CaseInsensitive) == 0) {
        const Resolution inBundle = Resolve(bundled, names.mid(1));
        if (inBundle.existing)
            return inBundle.existing;
    }
    return underRoot.newEntry;
}

std::optional<QString> DevicePath::fromHost(const QString& hostPath)
{
    const QFileInfo info(hostPath);
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    const QString canonical = info.canonicalFilePath();
    // Cleaning goes by the text alone, so "link/.." may lead elsewhere than the host goes; and
    // a name the root also holds hides the bundled one. A device path counts only when it
    // leads back to the entry itself.
    const auto leadsBack = [&canonical](const std::optional<QString>& devicePath) {
        if (!devicePath || canonical.isEmpty())
            return devicePath.has_value();
        const std::optional<QString> host = toHost(*devicePath);
        return host && QFileInfo(*host).canonicalFilePath() == canonical;
    };
    for (const QString& candidate : {absolute, canonical}) {
        if (candidate.isEmpty())
            continue;
        const QString root = hostRoot();
        for (const QString& base : {root, QFileInfo(root).canonicalFilePath()}) {
            if (auto path = RelativeDevicePath(base, candidate, QString()); leadsBack(path))
                return path;
        }
        const QString bundled = BundledSlot();
        for (const QString& base : {bundled, QFileInfo(bundled).canonicalFilePath()}) {
            if (auto path = RelativeDevicePath(base, candidate, QLatin1Char('\\') + kProgramFiles); leadsBack(path))
                return path;
        }
    }
    return std::nullopt;
}

void DevicePath::setBundledProgramFiles(const QString& hostDir)
{
    BundledSlot() = hostDir.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(hostDir).absoluteFilePath());
}

QString DevicePath::defaultBundledProgramFiles()
{
    return defaultBundledProgramFiles(QCoreApplication::applicationDirPath());
}

QString DevicePath::defaultBundledProgramFiles(const QString& executableDir)
{
    const QString beside = JoinHost(executableDir, kProgramFiles);
    if (QFileInfo(beside).isDir())
        return QDir::cleanPath(beside);
    return QDir::cleanPath(JoinHost(executableDir, QStringLiteral("../lib/tavik/") + kProgramFiles));
}

}  // namespace tavik
