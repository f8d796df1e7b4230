#include "speech/readout/channel_server.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace tavik::readout {

namespace {

constexpr qint64 kReadCommand = 1003;
// How long a running copy may take to accept a connection before it counts as gone.
constexpr int kProbeTimeoutMs = 1000;
// Two copies starting together take turns at checking, replacing and listening.
constexpr int kStartLockTimeoutMs = 5000;
// A "line" this long without its end is not a message: the connection is dropped.
constexpr qint64 kMaxLineBytes = 64 * 1024 * 1024;

bool IsAnswering(const QString& path)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    return socket.waitForConnected(kProbeTimeoutMs);
}

QByteArray Compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace

ChannelServer::ChannelServer(std::function<bool()> isReadOnly, QObject* parent)
    : QObject(parent)
    , m_isReadOnly(std::move(isReadOnly))
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &ChannelServer::onNewConnection);
}

ChannelServer::~ChannelServer() = default;

ChannelServer::Start ChannelServer::listen(const QString& path)
{
    // When the lock cannot be had (an unwritable folder, a copy stuck in its start) the
    // check below still keeps a running copy's socket in place.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.tryLock(kStartLockTimeoutMs);
    if (IsAnswering(path))
        return Start::AlreadyRunning;
    QLocalServer::removeServer(path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    return m_server->listen(path) ? Start::Listening : Start::Failed;
}

void ChannelServer::close()
{
    m_server->close();
}

QString ChannelServer::errorString() const
{
    return m_server->errorString();
}

void ChannelServer::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Lines that came with the connection itself.
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void ChannelServer::onReadyRead(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray reply = answer(socket->readLine().trimmed());
        if (!reply.isEmpty())
            socket->write(reply + '\n');
    }
    if (socket->bytesAvailable() > kMaxLineBytes)
        socket->abort();
}

QByteArray ChannelServer::answer(const QByteArray& line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return {};
    const QJsonObject message = document.object();
    const QString command = message.value(QStringLiteral("cmd")).toString();
    if (command == QStringLiteral("hello"))
        return Compact({{QStringLiteral("class"), QStringLiteral("Edit")}});
    if (command == QStringLiteral("state"))
        return Compact({{QStringLiteral("readonly"), m_isReadOnly()}});
    if (command == QStringLiteral("settext")) {
        const QJsonValue text = message.value(QStringLiteral("text"));
        if (text.isString())
            emit textReceived(text.toString());
    } else if (command == QStringLiteral("command")) {
        if (message.value(QStringLiteral("id")).toInteger() == kReadCommand)
            emit readRequested();
    }
    return {};
}

}  // namespace tavik::readout
