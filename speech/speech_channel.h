#pragma once

#include <QString>

#include <functional>
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
    // `abandoned` is asked again and again while a call waits for the program; once it
    // says true, the call fails at once.
    explicit SpeechChannel(std::function<bool()> abandoned = {});
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
    enum class Wait { ForWritten, ForReadable };

    bool send(const QJsonObject& message);
    std::optional<QJsonObject> receive(int timeoutMs);
    // One wait of the socket, up to `timeoutMs`, cut short when the caller abandons it.
    bool waitFor(Wait what, int timeoutMs);

    std::unique_ptr<QLocalSocket> m_socket;
    std::function<bool()> m_abandoned;
};

}  // namespace tavik
