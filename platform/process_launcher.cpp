#include "platform/process_launcher.h"

#include "platform/device_path.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
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

// Hands `target` to the desktop's opener, xdg-open, and watches how it ends; without
// xdg-open, to the opener Qt finds, which tells only whether it started. False when no
// opener could be started.
bool OpenOnDesktop(const QUrl& target, QObject& context, std::function<void()> notOpened)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(target);
    // Owned by no window: a QProcess destroyed while running kills its program, and
    // xdg-open may still be waiting for the program it started when tavik ends. It
    // deletes itself once xdg-open has ended.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({target.isLocalFile() ? target.toLocalFile() : target.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, &context,
        [notOpened = std::move(notOpened)](int exitCode, QProcess::ExitStatus status) {
            if (status != QProcess::NormalExit || exitCode != 0)
                notOpened();
        });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
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

ShellOpenResult ProcessLauncher::shellOpen(const QString& name, QObject& context, std::function<void()> notOpened)
{
    if (shellOpenStandIn)
        return shellOpenStandIn(name, context, notOpened);

    QUrl target;
    if (name.contains(QLatin1String("://"))) {
        target = QUrl(name, QUrl::TolerantMode);
    } else if (const std::optional<QString> host = DevicePath::toHost(name)) {
        target = QUrl::fromLocalFile(*host);
    }
    if (target.isEmpty() || !target.isValid())
        return ShellOpenResult::failure(ShellOpenFailure::NotOpened);
    if (target.isLocalFile()) {
        const QString localFile = target.toLocalFile();
        if (!QFileInfo::exists(localFile))
            return ShellOpenResult::failure(ShellOpenFailure::NotOpened);
        if (WouldRun(localFile))
            return ShellOpenResult::failure(ShellOpenFailure::WouldRun);
    }
    if (!OpenOnDesktop(target, context, std::move(notOpened)))
        return ShellOpenResult::failure(ShellOpenFailure::NotOpened);
    return ShellOpenResult::success();
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
