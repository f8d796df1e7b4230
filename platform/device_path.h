#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavik {

// Device paths name files as the program knows them: parts separated by "\",
// rooted at "\" ("\My Documents\list.lst"; an empty path is the root). They
// live under one host folder, the device root. The device's file system ignores
// case, so each part is found by its exact name first and otherwise by a name
// that matches ignoring case (Unicode case folding). Paths under
// "\Program Files\" that are missing under the root are looked up next in the
// program's own bundled "Program Files" folder.
class DevicePath {
public:
    // $TAVIK_ROOT when it is set and not empty, else the user's home directory.
    static QString hostRoot();

    // The host path of the entry `devicePath` names. When only its last part is
    // missing and the folder before it exists, the host path a new entry of that
    // name would get (so new files can be saved). Nothing for any other path, and
    // for paths with a "." or ".." part or a part the host cannot hold ("/", NUL).
    // A run of separators counts as one.
    static std::optional<QString> toHost(const QString& devicePath);

    // The device path of a host entry under the root or the bundled folder ("" for
    // the root itself), or nothing when it lies elsewhere or a name in it holds "\".
    // Symbolic links count either way: a link under the root names what it points to,
    // and a path outside it that leads to an entry under the root names that entry. For
    // an existing entry the device path always leads back to it (see toHost).
    static std::optional<QString> fromHost(const QString& hostPath);

    // The parts of a device path, without the empty ones a run of separators gives.
    static QStringList parts(const QString& devicePath);

    // True when a host entry name can be named on the device (it holds no "\").
    static bool isDeviceName(const QString& hostName);

    // Set once at start by the application; empty turns the fallback off.
    static void setBundledProgramFiles(const QString& hostDir);

    // "Program Files" beside the executable when that folder exists (the build
    // tree), else "<prefix>/lib/tavik/Program Files" for an executable in <prefix>/bin.
    static QString defaultBundledProgramFiles();
    static QString defaultBundledProgramFiles(const QString& executableDir);
};

}  // namespace tavik
