#pragma once

#include <QString>

#include <memory>
#include <optional>

class QJsonObject;
class QLocalSocket;

namespace tavik {

// tavik's end of the channel to the speech program: a local socket named after the
// user, carrying one line of compact UTF-8 JSON per message. Every call blocks, so it
// is used on the speech worker thread only. A broken connection makes every later
// call fail.
class SpeechChannel {
public:
    SpeechChannel();
    ~SpeechChannel();

    // The socket the speech program listens on.
    static QString serverPath();

    // One attempt to reach the speech program.
    bool connect();
    // Whether the program answers that it has a text box.
    bool hasTextBox();
    bool setText(const QString& text);
    // Asks the program to read its text aloud; no answer is awaited.
    bool startReading();
    // Whether the text box is read-only (the program is reading); nothing when the
    // program has gone or does not answer.
    std::optional<bool> isReading();

private:
    bool send(const QJsonObject& message);
    std::optional<QJsonObject> receive(int timeoutMs);

    std::unique_ptr<QLocalSocket> m_socket;
};

}  // namespace tavik
