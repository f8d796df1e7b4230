#include "platform/single_instance.h"

#include "platform/local_channel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <optional>
#include <unistd.h>

namespace tavik {

namespace {

const QByteArray kActivateRequest = QByteArrayLiteral("activate\n");
const QByteArray kOpenPrefix = QByteArrayLiteral("activate ");
// The longest request: the prefix, a path of PATH_MAX bytes each percent-encoded, the line end.
constexpr qsizetype kMaxRequestBytes = sizeof("activate ") - 1 + 3 * 4096 + 1;

// The file a request asks to open ("" for none), or nothing when the line is not one of ours.
std::optional<QString> ParseRequest(const QByteArray& line)
{
    if (line == kActivateRequest)
        return QString();
    if (!line.startsWith(kOpenPrefix) || !line.endsWith('\n'))
        return std::nullopt;
    const QByteArray encoded = line.mid(kOpenPrefix.size()).chopped(1);
    const QByteArray path = QByteArray::fromPercentEncoding(encoded);
    // Only an absolute path means the same file to both copies; percent-encoding leaves no blank.
    if (!encoded.startsWith('/') || encoded.contains(' ') || path.contains('\0'))
        return std::nullopt;
    return QFile::decodeName(path);
}

// A lock file older than this whose owner cannot be confirmed alive counts as
// stale; a live owner keeps the file locked, so Qt never removes it under it.
constexpr std::chrono::milliseconds kStaleLockTime{3000};

bool IsProcessAlive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

SingleInstance::SingleInstance()
    : m_lock(std::make_unique<QLockFile>(lockFilePath()))
{
    m_lock->setStaleLockTime(kStaleLockTime);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath()
{
    const QString runtime = LocalChannel::privateRuntimeFolder();
    // The temporary folder is shared by every user: there the name says whose lock it is,
    // so one user's copy never keeps another's from starting.
    if (runtime.isEmpty())
        return QDir::tempPath() + QStringLiteral("/tavik-") + LocalChannel::userId() + QStringLiteral(".lock");
    return runtime + QStringLiteral("/tavik.lock");
}

QString SingleInstance::serverPath()
{
    return LocalChannel::serverPath(QStringLiteral("tavik"));
}

bool SingleInstance::tryAcquire()
{
    if (m_lock->tryLock(std::chrono::milliseconds::zero()))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError) {
        qWarning(
            "tavik: the single-instance lock %s cannot be made; running without it", qPrintable(m_lock->fileName()));
        return true;
    }

    // Qt already takes over the lock of an owner it finds gone, but how it finds
    // that differs between its versions; a copy killed a moment ago is recognised
    // here as well, by its process no longer existing.
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application) && pid > 0 && pid != ::getpid()
        && host == QSysInfo::machineHostName() && !IsProcessAlive(pid)) {
        m_lock->removeStaleLockFile();
        return m_lock->tryLock(std::chrono::milliseconds::zero());
    }
    return false;
}

Outcome<> SingleInstance::listen(std::function<void(const QString&)> handleRequest)
{
    m_onRequest = std::move(handleRequest);
    const QString path = serverPath();
    QLocalServer::removeServer(path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        const QString reason = m_server->errorString();
        m_server.reset();
        return Outcome<>::failure(reason);
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] { onRequest(); });
    return Outcome<>::success();
}

void SingleInstance::onRequest()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                // Anything longer than the longest request is not one of ours.
                if (socket->bytesAvailable() > kMaxRequestBytes)
                    socket->abort();
                return;
            }
            const std::optional<QString> file = ParseRequest(socket->readLine(kMaxRequestBytes + 1));
            socket->disconnectFromServer();
            if (file && m_onRequest)
                m_onRequest(*file);
        });
    }
}

void SingleInstance::activateRunningCopy(const QString& hostPath, std::chrono::milliseconds timeout)
{
    const int waitMs = static_cast<int>(timeout.count());
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // A copy that holds the lock but is still starting listens within moments: several
    // files opened at once start as many copies side by side.
    for (;;) {
        socket.connectToServer(serverPath());
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return;
        QThread::msleep(50);
    }
    if (hostPath.isEmpty())
        socket.write(kActivateRequest);
    else
        socket.write(
            kOpenPrefix + QFile::encodeName(QFileInfo(hostPath).absoluteFilePath()).toPercentEncoding("/") + '\n');
    if (!socket.waitForBytesWritten(waitMs))
        return;
    // The running copy hangs up once it has read the request.
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(waitMs);
}

}  // namespace tavik
