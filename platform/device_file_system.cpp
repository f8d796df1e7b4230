#include "platform/device_file_system.h"

#include "platform/device_path.h"
#include "platform/fileio/error_reason.h"
#include "platform/fileio/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace tavik {

namespace {

std::string HostBytes(const QString& hostPath)
{
    return QFile::encodeName(hostPath).toStdString();
}

bool SameFolded(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Wildcard matching over UTF-16 units: "*" any run, "?" any one unit.
bool MatchFrom(const QString& name, qsizetype n, const QString& pattern, qsizetype p)
{
    // Greedy with one backtrack point: the last "*" seen.
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || SameFolded(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

}  // namespace

bool DeviceFileSystem::matchesPattern(const QString& name, const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return true;
    return MatchFrom(name, 0, pattern, 0);
}

Outcome<QList<DirectoryEntry>> DeviceFileSystem::list(const QString& folder, const QString& pattern)
{
    using Listing = Outcome<QList<DirectoryEntry>>;
    const std::optional<QString> host = DevicePath::toHost(folder);
    const QFileInfo info(host.value_or(QString()));
    if (!host || !info.isDir())
        return Listing::failure(QStringLiteral("The folder \"%1\" does not exist.").arg(folder));
    if (!info.isReadable() || !info.isExecutable())
        return Listing::failure(QStringLiteral("The folder \"%1\" cannot be read.").arg(folder));
    QList<DirectoryEntry> entries;
    const QFileInfoList found
        = QDir(*host).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : found) {
        const QString name = entry.fileName();
        if (DevicePath::isDeviceName(name) && matchesPattern(name, pattern))
            entries.append({name, entry.isDir()});
    }
    return entries;
}

FileStatus DeviceFileSystem::status(const QString& devicePath)
{
    FileStatus status;
    const std::optional<QString> host = DevicePath::toHost(devicePath);
    if (!host)
        return status;
    const QFileInfo info(*host);
    if (!info.exists())
        return status;
    status.exists = true;
    status.isFolder = info.isDir();
    status.size = info.isFile() ? info.size() : 0;
    status.modified = info.lastModified();
    status.writable = info.isWritable();
    return status;
}

Result<FileContents, ReadFailure> DeviceFileSystem::readFile(const QString& devicePath)
{
    using Read = Result<FileContents, ReadFailure>;
    const std::optional<QString> host = DevicePath::toHost(devicePath);
    const QFileInfo info(host.value_or(QString()));
    if (!host || !info.exists()) {
        const QString reason = QStringLiteral("The file \"%1\" does not exist.").arg(devicePath);
        return Read::failure({ReadFailure::Kind::CannotOpen, reason.toStdString()});
    }
    if (info.isDir()) {
        const QString reason = QStringLiteral("\"%1\" is a folder.").arg(devicePath);
        return Read::failure({ReadFailure::Kind::NotRegularFile, reason.toStdString()});
    }
    return FileIo::readWholeFile(HostBytes(*host));
}

Outcome<FileIdentity> DeviceFileSystem::replaceFile(const QString& devicePath, std::string_view bytes)
{
    // The reason is the system's in the user's language; the message around it names the file.
    const auto fail
        = [](int error) { return Outcome<FileIdentity>::failure(QString::fromStdString(ErrorReason(error))); };
    const std::optional<QString> host = DevicePath::toHost(devicePath);
    if (!host)
        return fail(ENOENT);
    if (QFileInfo(*host).isDir())
        return fail(EISDIR);
    const FileResult<FileIdentity> written = FileIo::replaceFile(HostBytes(*host), bytes);
    if (!written)
        return fail(written.reason().error);
    return *written;
}

std::optional<FileIdentity> DeviceFileSystem::identity(const QString& devicePath)
{
    const std::optional<QString> host = DevicePath::toHost(devicePath);
    return host ? FileIdentity::of(HostBytes(*host)) : std::nullopt;
}

}  // namespace tavik
