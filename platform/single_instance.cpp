#include "platform/single_instance.h"

#include "platform/local_channel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace tavik {

namespace {

const QByteArray kActivateRequest = QByteArrayLiteral("activate\n");

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

Outcome<> SingleInstance::listen(std::function<void()> onActivate)
{
    m_onActivate = std::move(onActivate);
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
                // Anything longer than the request is not one of ours.
                if (socket->bytesAvailable() > kActivateRequest.size())
                    socket->abort();
                return;
            }
            const bool isRequest = socket->readLine(kActivateRequest.size() + 1) == kActivateRequest;
            socket->disconnectFromServer();
            if (isRequest && m_onActivate)
                m_onActivate();
        });
    }
}

void SingleInstance::activateRunningCopy(std::chrono::milliseconds timeout)
{
    const int waitMs = static_cast<int>(timeout.count());
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(waitMs))
        return;
    socket.write(kActivateRequest);
    if (!socket.waitForBytesWritten(waitMs))
        return;
    // The running copy hangs up once it has read the request.
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(waitMs);
}

}  // namespace tavik
