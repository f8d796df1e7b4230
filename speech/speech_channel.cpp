#include "speech/speech_channel.h"

#include "platform/local_channel.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

#include <algorithm>

namespace tavik {

namespace {

// The command that starts a reading.
constexpr int kReadCommand = 1003;
// How long the program may take to answer "hello".
constexpr int kHelloTimeoutMs = 1000;
// A program that does not say whether it still reads within this time is taken for
// hung: the reading counts as ended rather than keeping the reader busy for ever.
constexpr int kStateTimeoutMs = 10000;
constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 5000;
// How often a wait looks whether it has been abandoned.
constexpr int kWaitSliceMs = 50;

}  // namespace

SpeechChannel::SpeechChannel(std::function<bool()> abandoned)
    : m_socket(std::make_unique<QLocalSocket>())
    , m_abandoned(std::move(abandoned))
{
}

SpeechChannel::~SpeechChannel() = default;

QString SpeechChannel::serverPath()
{
    return LocalChannel::serverPath(QStringLiteral("VELUN-SPEECH"));
}

bool SpeechChannel::connect()
{
    m_socket->abort();
    m_socket->connectToServer(serverPath());
    return m_socket->waitForConnected(kConnectTimeoutMs);
}

bool SpeechChannel::hasTextBox()
{
    if (!send(QJsonObject{{"cmd", "hello"}}))
        return false;
    const std::optional<QJsonObject> answer = receive(kHelloTimeoutMs);
    return answer && answer->value(QStringLiteral("class")).toString() == QStringLiteral("Edit");
}

bool SpeechChannel::setText(const QString& text)
{
    return send(QJsonObject{{"cmd", "settext"}, {"text", text}});
}

bool SpeechChannel::startReading()
{
    return send(QJsonObject{{"cmd", "command"}, {"id", kReadCommand}});
}

std::optional<bool> SpeechChannel::isReading()
{
    if (!send(QJsonObject{{"cmd", "state"}}))
        return std::nullopt;
    const std::optional<QJsonObject> answer = receive(kStateTimeoutMs);
    if (!answer || !answer->value(QStringLiteral("readonly")).isBool())
        return std::nullopt;
    return answer->value(QStringLiteral("readonly")).toBool();
}

bool SpeechChannel::send(const QJsonObject& message)
{
    if (m_socket->state() != QLocalSocket::ConnectedState)
        return false;
    m_socket->write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    while (m_socket->bytesToWrite() > 0) {
        if (!waitFor(Wait::ForWritten, kWriteTimeoutMs))
            return false;
    }
    return true;
}

std::optional<QJsonObject> SpeechChannel::receive(int timeoutMs)
{
    while (!m_socket->canReadLine()) {
        if (!waitFor(Wait::ForReadable, timeoutMs))
            return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(m_socket->readLine().trimmed());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

bool SpeechChannel::waitFor(Wait what, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (m_socket->state() != QLocalSocket::ConnectedState || (m_abandoned && m_abandoned()))
            return false;
        const int slice = static_cast<int>(std::min<qint64>(deadline.remainingTime(), kWaitSliceMs));
        if (what == Wait::ForWritten ? m_socket->waitForBytesWritten(slice) : m_socket->waitForReadyRead(slice))
            return true;
        if (deadline.hasExpired())
            return false;
    }
}

}  // namespace tavik
