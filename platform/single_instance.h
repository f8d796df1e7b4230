#pragma once

#include "platform/outcome.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QLockFile;
class QLocalServer;

namespace tavik {

// Only one copy of the program runs per user. A lock file "tavik.lock" in the
// user's runtime folder ($XDG_RUNTIME_DIR; without one, "tavik-<uid>.lock" in the
// temporary folder) marks the running copy; a local socket "tavik-<uid>" in the
// same folder lets a second copy ask it to bring its main window to the front, and
// to open a file given to the second copy. The request is one line: "activate", or
// "activate " and the file's absolute path with its bytes percent-encoded.
// The lock is held for as long as this object lives, which for the application
// is its whole run.
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is now the running copy. A lock left by a copy that
    // has ended without releasing it (a crash, a kill) is taken over. When the lock
    // cannot be made at all (an unwritable runtime folder) the program is let run
    // rather than never start: that also gives true, with a warning in the log.
    bool tryAcquire();

    // For the running copy, once its main window exists: answers the requests of
    // later copies by calling `handleRequest` with the absolute host path of the file to
    // open, or "" for a bare activation. A socket left by a crashed copy is removed first.
    Outcome<> listen(std::function<void(const QString& hostPath)> handleRequest);

    // For a second copy: asks the running copy to activate its window and to open
    // `hostPath` (none when empty; a relative path is taken from this process's working
    // folder), and returns once it has taken the request, or silently when nothing
    // answers within `timeout`. A copy that is still starting is waited for.
    static void activateRunningCopy(
        const QString& hostPath = QString(), std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    static QString lockFilePath();
    static QString serverPath();

private:
    void onRequest();

    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void(const QString&)> m_onRequest;
};

}  // namespace tavik
