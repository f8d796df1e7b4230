// A stand-in for the speech program in the reader's tests, run as a real process on the
// real channel. It logs what it is told, one line each, to $FAKE_READOUT_LOG:
//   hello | settext TEXT | command | done | exit
// $FAKE_READOUT_CLASS is the class it gives for its text box ("Edit" unless set);
// $FAKE_READOUT_READ_MS how long a reading keeps the box read-only (300 ms unless set);
// $FAKE_READOUT_DIE=1 makes it end in the middle of a reading. It ends by itself once
// no client has been connected for three seconds.
#include "speech/speech_channel.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

void Log(const QString& line)
{
    QFile log(qEnvironmentVariable("FAKE_READOUT_LOG"));
    if (log.open(QIODevice::Append))
        log.write(line.toUtf8() + '\n');
}

void Answer(QLocalSocket& client, const QJsonObject& answer)
{
    client.write(QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n');
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString boxClass = qEnvironmentVariable("FAKE_READOUT_CLASS", QStringLiteral("Edit"));
    const int readMs = qEnvironmentVariableIntValue("FAKE_READOUT_READ_MS") ?: 300;
    const bool dieWhileReading = qEnvironmentVariable("FAKE_READOUT_DIE") == QStringLiteral("1");

    QLocalServer server;
    QLocalServer::removeServer(tavik::SpeechChannel::serverPath());
    if (!server.listen(tavik::SpeechChannel::serverPath()))
        return 2;
    bool readOnly = false;
    int clients = 0;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(3000);
    QObject::connect(&idle, &QTimer::timeout, &app, [&] {
        Log(QStringLiteral("exit"));
        app.quit();
    });
    idle.start();

    QObject::connect(&server, &QLocalServer::newConnection, &app, [&] {
        QLocalSocket* client = server.nextPendingConnection();
        ++clients;
        idle.stop();
        QObject::connect(client, &QLocalSocket::disconnected, client, [&, client] {
            client->deleteLater();
            if (--clients == 0)
                idle.start();
        });
        QObject::connect(client, &QLocalSocket::readyRead, client, [&, client] {
            while (client->canReadLine()) {
                const QJsonObject message = QJsonDocument::fromJson(client->readLine()).object();
                const QString command = message.value(QStringLiteral("cmd")).toString();
                if (command == QStringLiteral("hello")) {
                    Log(command);
                    Answer(*client, {{"class", boxClass}});
                } else if (command == QStringLiteral("settext")) {
                    Log(QStringLiteral("settext ") + message.value(QStringLiteral("text")).toString());
                } else if (command == QStringLiteral("command")) {
                    Log(command);
                    readOnly = true;
                    if (dieWhileReading) {
                        Log(QStringLiteral("exit"));
                        std::exit(0);
                    }
                    QTimer::singleShot(readMs, &app, [&] {
                        readOnly = false;
                        Log(QStringLiteral("done"));
                    });
                } else if (command == QStringLiteral("state")) {
                    Answer(*client, {{"readonly", readOnly}});
                }
            }
        });
    });
    return app.exec();
}
