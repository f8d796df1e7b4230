#pragma once

#include "platform/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <string>
#include <string_view>

namespace tavik {

struct DirectoryEntry {
    QString name;
    bool isFolder = false;
};

struct FileStatus {
    bool exists = false;
    bool isFolder = false;
    qint64 size = 0;  // bytes; 0 for a folder
    QDateTime modified;
    bool writable = false;
};

// Folders and files named by device paths (see DevicePath): directory search,
// file status, whole-file reading and safe replacing.
class DeviceFileSystem {
public:
    // The entries of `folder` ("" or "\" for the root) whose names match `pattern`
    // ("*.lst", "*.txt", "*"; "*" and "?" are wildcards, case is ignored, "*.*"
    // matches every name). Sorted by name ignoring case. Entries hidden on the host
    // (names beginning with "."), entries whose names hold "\" and special files
    // (sockets, devices, broken links) are left out.
    static Outcome<QList<DirectoryEntry>> list(const QString& folder, const QString& pattern = QStringLiteral("*"));

    static FileStatus status(const QString& devicePath);

    // The whole content of a file.
    static Outcome<std::string> readFile(const QString& devicePath);

    // Replaces (or creates) the file with `bytes` through a temporary file renamed
    // over it, so a failure at any point leaves the old content; keeps its permissions.
    static Outcome<> replaceFile(const QString& devicePath, std::string_view bytes);

    // True when `name` matches a search pattern as list() matches it.
    static bool matchesPattern(const QString& name, const QString& pattern);
};

}  // namespace tavik
