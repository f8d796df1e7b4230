#pragma once

#include <QString>

namespace tavik {

// Where the program's local sockets and lock files live: the user's private runtime
// folder (XDG_RUNTIME_DIR), else the shared temporary folder. Names carry the user's
// id, so that one user's programs never reach another's.
class LocalChannel {
public:
    // "<folder>/<baseName>-<user id>": the full name a QLocalServer listens on.
    static QString serverPath(const QString& baseName);
    // The user's private runtime folder, or nothing when the session has none.
    static QString privateRuntimeFolder();
    static QString userId();
};

}  // namespace tavik
