#pragma once

#include "platform/outcome.h"
#include "platform/stand_in.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace tavik {

// Why ProcessLauncher::shellOpen() gave the desktop nothing.
enum class ShellOpenFailure {
    WouldRun,  // a local file that would run rather than open: refused
    NotOpened,  // a missing file or a name that maps to none, or no opener could be started
};
using ShellOpenResult = Result<void, ShellOpenFailure>;

// Starting programs and handing names to the desktop, both named as the program
// knows them: device paths (see DevicePath) or, for the desktop, URLs.
class ProcessLauncher {
public:
    // Starts the program at device path `application` detached, with the arguments
    // of `commandLine` split as Windows splits them and every argument that is a
    // device path ("\..." that maps) replaced by its host path. Fails, with the
    // reason, when the program file is missing, not executable or cannot be started.
    static Outcome<> start(const QString& application, const QString& commandLine = QString());

    // A name holding "://" goes to the desktop as a URL; any other is a device path
    // whose file the desktop opens with its default application. A local file that
    // would run rather than open (a program, a script, a desktop entry, a Windows
    // program or installer) is refused, whatever its name says: opening a name never
    // runs anything. Fails at once when the file is missing or no opener can be
    // started. The opener then runs on its own; when it ends saying that it could not
    // open the name, `notOpened` is called on this thread, unless `context` is gone.
    static ShellOpenResult shellOpen(const QString& name, QObject& context, std::function<void()> notOpened);

    // Splits a command line into arguments as CommandLineToArgvW does: blanks and
    // tabs separate, double quotes group, 2n backslashes before a quote give n and
    // the quote groups, 2n+1 give n and a literal quote, other backslashes stay;
    // "" inside quotes is a literal quote.
    static QStringList splitCommandLine(const QString& commandLine);

    // While set, they answer start() and shellOpen() instead of the real ones.
    static inline StandIn<Outcome<>(const QString& application, const QString& commandLine)> startStandIn;
    static inline StandIn<ShellOpenResult(
        const QString& name, QObject& context, const std::function<void()>& notOpened)>
        shellOpenStandIn;
};

}  // namespace tavik
