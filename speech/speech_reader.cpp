#include "speech/speech_reader.h"

#include "platform/process_launcher.h"
#include "speech/speech_channel.h"

#include <QMetaObject>
#include <QWidget>

#include <chrono>

namespace tavik {

namespace {

// After a start, the program gets 200 looks, 10 ms apart, to open its channel.
constexpr int kStartLooks = 200;
constexpr auto kLookPause = std::chrono::milliseconds(10);
// A reading that has not begun within this pause is taken as over.
constexpr auto kFirstPause = std::chrono::milliseconds(1000);
constexpr auto kBusyPause = std::chrono::milliseconds(10);

}  // namespace

const QString CSpeechReader::kProgram = QStringLiteral("\\Program Files\\VELUN-SPEECH\\ReadOut.exe");

CSpeechReader::~CSpeechReader()
{
    Stop();
}

void CSpeechReader::Speak(const QString& text)
{
    {
        const std::lock_guard lock(m_textLock);
        m_text = text;
    }
    Trigger();
}

void CSpeechReader::DoJob()
{
    // Every wait gives up on a stop: the program finishes a reading on its own.
    SpeechChannel channel([this] { return stopSignalled(); });
    if (!channel.connect()) {
        // Whether the start worked shows in whether the channel opens.
        static_cast<void>(ProcessLauncher::start(kProgram));
        for (int look = 0; look < kStartLooks; ++look) {
            if (channel.connect()) {
                bringOwnerToFront();
                break;
            }
            if (!pause(kLookPause))
                return;
        }
    }
    if (!channel.hasTextBox())
        return;
    bringOwnerToFront();

    QString text;
    {
        const std::lock_guard lock(m_textLock);
        text = m_text;
    }
    if (!channel.setText(text) || !channel.startReading() || !pause(kFirstPause))
        return;
    for (std::optional<bool> reading = channel.isReading(); reading.value_or(false); reading = channel.isReading()) {
        if (!pause(kBusyPause))
            return;
    }
    channel.setText(QString());
}

void CSpeechReader::bringOwnerToFront()
{
    QWidget* owner = ownerWindow();
    if (!owner)
        return;
    // Widgets belong to the user-interface thread: the request is queued there.
    QMetaObject::invokeMethod(
        owner,
        [owner] {
            owner->raise();
            owner->activateWindow();
        },
        Qt::QueuedConnection);
}

}  // namespace tavik
