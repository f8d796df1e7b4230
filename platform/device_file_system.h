#pragma once

#include "platform/fileio/file_io.h"
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

    // The whole content of a file and the identity of the file read. Folders, special
    // files and files larger than FileIo::kMaxReadBytes are refused (see FileIo).
    static Result<FileContents, ReadFailure> readFile(const QString& devicePath);

    // Replaces (or creates) the file with `bytes` so that a failure at any point leaves
    // the old content; keeps its permissions and hard links (see FileIo). Gives the
    // identity of the file written, or the reason in Japanese without the path (ErrorReason).
    static Outcome<FileIdentity> replaceFile(const QString& devicePath, std::string_view bytes);

    // The identity of the file as it is now on disk; nothing when there is none.
    static std::optional<FileIdentity> identity(const QString& devicePath);

    // True when `name` matches a search pattern as list() matches it.
    static bool matchesPattern(const QString& name, const QString& pattern);
};

}  // namespace tavik
