#include "platform/process_launcher.h"

#include "platform/device_path.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace tavik {

namespace {

// The kinds of file that a desktop runs rather than shows when asked to open them.
const char* const kRunnableTypes[] = {
    "application/x-executable",  // binaries, and scripts of every language
    "application/x-sharedlib",
    "application/x-desktop",
    "application/x-ms-dos-executable",
    "application/x-msdownload",
    "application/x-msi",
    "application/x-bat",
    "application/x-ms-shortcut",
    "application/x-java-archive",
    "application/x-java-jnlp-file",
};

// Judged by content as well as by name, as the desktop's own opener may judge either
// way: a script named "photo.bmp" is a script.
bool WouldRun(const QString& hostPath)
{
    const QFileInfo info(hostPath);
    if (info.isDir())
        return false;
    const QMimeDatabase types;
    for (const QMimeDatabase::MatchMode mode : {QMimeDatabase::MatchExtension, QMimeDatabase::MatchContent}) {
        const QMimeType type = types.mimeTypeForFile(info, mode);
        for (const char* runnable : kRunnableTypes) {
            if (type.inherits(QLatin1String(runnable)))
                return true;
        }
    }
    return false;
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

}  // namespace

Outcome<> ProcessLauncher::start(const QString& application, const QString& commandLine)
{
    if (startStandIn)
        return startStandIn(application, commandLine);

    const std::optional<QString> host = DevicePath::toHost(application);
    const QFileInfo program(host.value_or(QString()));
    if (!host || !program.exists())
        return Outcome<>::failure(QStringLiteral("The program \"%1\" does not exist.").arg(application));
    if (!program.isFile() || !program.isExecutable())
        return Outcome<>::failure(QStringLiteral("\"%1\" is not an executable program.").arg(application));

    QStringList arguments = splitCommandLine(commandLine);
    for (QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('\\'))) {
            if (const std::optional<QString> mapped = DevicePath::toHost(argument))
                argument = *mapped;
        }
    }
    if (!QProcess::startDetached(*host, arguments))
        return Outcome<>::failure(QStringLiteral("The program \"%1\" could not be started.").arg(application));
    return Outcome<>::success();
}

Outcome<> ProcessLauncher::shellOpen(const QString& name)
{
    if (shellOpenStandIn)
        return shellOpenStandIn(name);

    QString localFile;
    if (name.contains(QLatin1String("://"))) {
        const QUrl url(name, QUrl::TolerantMode);
        if (!url.isLocalFile()) {
            QDesktopServices::openUrl(url);
            return Outcome<>::success();
        }
        localFile = url.toLocalFile();
    } else {
        localFile = DevicePath::toHost(name).value_or(QString());
    }
    if (localFile.isEmpty() || !QFileInfo::exists(localFile))
        return Outcome<>::success();
    if (WouldRun(localFile))
        return Outcome<>::failure(QStringLiteral("\"%1\" would run as a program.").arg(name));
    QDesktopServices::openUrl(QUrl::fromLocalFile(localFile));
    return Outcome<>::success();
}

QStringList ProcessLauncher::splitCommandLine(const QString& commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;  // an empty pair of quotes still makes an argument
    bool inQuotes = false;
    const qsizetype length = commandLine.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = commandLine[i];
        if (c == QLatin1Char('\\')) {
            qsizetype run = 0;
            while (i + run < length && commandLine[i + run] == QLatin1Char('\\'))
                ++run;
            const bool beforeQuote = i + run < length && commandLine[i + run] == QLatin1Char('"');
            if (beforeQuote) {
                current += QString(run / 2, QLatin1Char('\\'));
                if (run % 2 == 1) {
                    current += QLatin1Char('"');
                    i += run;  // past the literal quote
                } else {
                    i += run - 1;  // the quote is read next, as a grouping quote
                }
            } else {
                current += QString(run, QLatin1Char('\\'));
                i += run - 1;
            }
            inArgument = true;
        } else if (c == QLatin1Char('"')) {
            if (inQuotes && i + 1 < length && commandLine[i + 1] == QLatin1Char('"')) {
                current += QLatin1Char('"');
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            inArgument = true;
        } else if (IsBlank(c) && !inQuotes) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

}  // namespace tavik
