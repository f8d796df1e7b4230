#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace tavik::readout {

// The channel tavik talks to the program on: a local socket carrying single lines of
// compact UTF-8 JSON, each ended by "\n", both ways. Each connection's lines are handled
// in order, all the complete lines of one read in one go.
//   {"cmd":"hello"}                → {"class":"Edit"}
//   {"cmd":"settext","text":"..."} → textReceived(), no answer
//   {"cmd":"command","id":1003}    → readRequested(), no answer; other ids are ignored
//   {"cmd":"state"}                → {"readonly":true|false}
// Anything else is ignored and the connection stays.
class ChannelServer : public QObject {
    Q_OBJECT
public:
    enum class Start { Listening, AlreadyRunning, Failed };

    // `isReadOnly` answers "state".
    explicit ChannelServer(std::function<bool()> isReadOnly, QObject* parent = nullptr);
    ~ChannelServer() override;

    // Listens on `path` for the user only. A socket file left by a copy that ended
    // without removing it is replaced; when a running copy answers on it, nothing is
    // touched and AlreadyRunning comes back.
    Start listen(const QString& path);
    // Stops listening and removes the socket file.
    void close();
    QString errorString() const;

signals:
    void textReceived(const QString& text);
    void readRequested();

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);
    QByteArray answer(const QByteArray& line);

    std::function<bool()> m_isReadOnly;
    QLocalServer* m_server;
};

}  // namespace tavik::readout
